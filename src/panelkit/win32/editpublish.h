// The published properties the kit's edits share, declared once so that
// every edit class shows them with the same names and defaults.
#pragma once

#include "panelkit/win32/edits.h"
#include "ui/publish.h"

namespace editpublish {

inline TMethodParam Param(const char16_t* name, const char16_t* type, TParamFlags flags = 0) {
  return TMethodParam{flags, name, type};
}
inline const TParamFlags kConst = ParamFlagBit(pfConst);

// What the system's edit publishes, and the edit base's own properties.
template <class T>
void Base(TClassBuilder<T>& c) {
  publish::Align(c);
  c.Property(u"Alignment", &TPxCustomEdit::Alignment, &TPxCustomEdit::SetAlignment).Default(taLeftJustify);
  publish::Anchors(c);
  c.Property(u"AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(1);
  KST_KEPT_PROPERTY(u"AutoSize", EditAutoSize).Default(1);
  publish::BiDiProperties(c);
  publish::BevelProperties(c);
  publish::BevelCutProperties(c);
  publish::BorderWidth(c);
  c.Property(u"BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, &BorderStyleType())
      .Default(bsSingle);
  c.Property(u"CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase)
      .Default(static_cast<Integer>(TEditCharCase::ecNormal));
  publish::Color(c);
  publish::Constraints(c);
  c.Property(u"EditMargins", &TPxCustomEdit::GetEditMargins, &TPxCustomEdit::SetEditMargins);
  publish::Enabled(c);
  publish::Font(c);
  c.Property(u"Glyph", &TPxCustomEdit::GetGlyph, &TPxCustomEdit::SetGlyph);
  c.Property(u"MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
  publish::ParentColor(c);
  publish::ParentFont(c);
  publish::ParentShowHint(c);
  c.Property(u"PasswordChar", &TPxCustomEdit::PasswordChar, &TPxCustomEdit::SetPasswordChar).Default(0);
  publish::PopupMenu(c);
  c.Property(u"PreviewBorder", &TPxCustomEdit::PreviewBorder, &TPxCustomEdit::SetPreviewBorder).Default(1);
  c.Property(u"ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(0);
  c.Property(u"ShowPreview", &TPxCustomEdit::ShowPreview, &TPxCustomEdit::SetShowPreview).Default(0);
  publish::ShowHint(c);
  publish::TabOrder(c);
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(1);
  publish::Text(c);
  publish::Visible(c);
  c.Property(u"WantTabs", &TPxCustomEdit::WantTabs, &TPxCustomEdit::SetWantTabs).Default(0);
  c.Property(u"OnChange", &TCustomEdit::OnChange);
  c.Property(u"OnCustomPreviewDraw", &TPxCustomEdit::OnCustomPreviewDraw);
  c.Property(u"OnGlyphClick", &TPxCustomEdit::OnGlyphClick);
  publish::MouseEvents(c);
  publish::FocusEvents(c);
  publish::KeyEvents(c);
  publish::DragEvents(c);
  publish::KeptEvent<7>(c, u"OnStartDock", TKeptEvent::StartDock);
}

}  // namespace editpublish
