// Helpers that publish the control properties each control class chooses
// to show, so that every class declares them the same way (name, type,
// default) and in the order forms store them.
#pragma once

#include "classes/identmaps.h"
#include "ui/actnlist.h"
#include "ui/controls.h"
#include "ui/imglist.h"
#include "ui/menus.h"

namespace publish {

template <class T>
void Action(TClassBuilder<T>& c) {
  c.Property(u"Action", &TControl::Action, &TControl::SetAction);
}
template <class T>
void Align(TClassBuilder<T>& c) {
  c.Property(u"Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
}
template <class T>
void Anchors(TClassBuilder<T>& c) {
  c.Property(u"Anchors", &TControl::Anchors, &TControl::SetAnchors);
}
template <class T>
void Caption(TClassBuilder<T>& c) {
  c.Property(u"Caption", &TControl::GetText, &TControl::SetText);
}
template <class T>
void Text(TClassBuilder<T>& c) {
  c.Property(u"Text", &TControl::GetText, &TControl::SetText);
}
template <class T>
void Color(TClassBuilder<T>& c) {
  c.Property(u"Color", &TControl::Color, &TControl::SetColor, &types::Color()).StoredWhen([](const T& o) {
    return !o.ParentColor();
  });
}
template <class T>
void Constraints(TClassBuilder<T>& c) {
  c.Property(u"Constraints", &TControl::GetConstraints);
}
template <class T>
void Enabled(TClassBuilder<T>& c) {
  c.Property(u"Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(1);
}
template <class T>
void Font(TClassBuilder<T>& c) {
  c.Property(u"Font", &TControl::GetFont, &TControl::SetFont).StoredWhen([](const T& o) { return !o.ParentFont(); });
}
template <class T>
void ParentColor(TClassBuilder<T>& c) {
  c.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
}
template <class T>
void ParentFont(TClassBuilder<T>& c) {
  c.Property(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(1);
}
template <class T>
void ParentShowHint(TClassBuilder<T>& c) {
  c.Property(u"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(1);
}
template <class T>
void PopupMenu(TClassBuilder<T>& c) {
  c.Property(u"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
}
template <class T>
void ShowHint(TClassBuilder<T>& c) {
  c.Property(u"ShowHint", &TControl::ShowHint, &TControl::SetShowHint).StoredWhen([](const T& o) {
    return !o.ParentShowHint();
  });
}
template <class T>
void Visible(TClassBuilder<T>& c) {
  c.Property(u"Visible", &TControl::Visible, &TControl::SetVisible).Default(1);
}
template <class T>
void TabOrder(TClassBuilder<T>& c) {
  c.Property(u"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
}
template <class T>
void TabStop(TClassBuilder<T>& c) {
  c.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(0);
}
template <class T>
void DoubleBuffered(TClassBuilder<T>& c) {
  c.Property(u"DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered);
}
template <class T>
void ParentBackground(TClassBuilder<T>& c) {
  c.Property(u"ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground);
}

// Events of every control.
template <class T>
void MouseEvents(TClassBuilder<T>& c) {
  c.Property(u"OnClick", &T::OnClick);
  c.Property(u"OnContextPopup", &T::OnContextPopup);
  c.Property(u"OnDblClick", &T::OnDblClick);
  c.Property(u"OnMouseDown", &T::OnMouseDown);
  c.Property(u"OnMouseEnter", &T::OnMouseEnter);
  c.Property(u"OnMouseLeave", &T::OnMouseLeave);
  c.Property(u"OnMouseMove", &T::OnMouseMove);
  c.Property(u"OnMouseUp", &T::OnMouseUp);
}
template <class T>
void WheelEvents(TClassBuilder<T>& c) {
  c.Property(u"OnMouseWheel", &T::OnMouseWheel);
  c.Property(u"OnMouseWheelDown", &T::OnMouseWheelDown);
  c.Property(u"OnMouseWheelUp", &T::OnMouseWheelUp);
}
template <class T>
void FocusEvents(TClassBuilder<T>& c) {
  c.Property(u"OnEnter", &T::OnEnter);
  c.Property(u"OnExit", &T::OnExit);
}
template <class T>
void KeyEvents(TClassBuilder<T>& c) {
  c.Property(u"OnKeyDown", &T::OnKeyDown);
  c.Property(u"OnKeyPress", &T::OnKeyPress);
  c.Property(u"OnKeyUp", &T::OnKeyUp);
}
template <class T>
void ResizeEvents(TClassBuilder<T>& c) {
  c.Property(u"OnCanResize", &T::OnCanResize);
  c.Property(u"OnResize", &T::OnResize);
}

template <class T>
void DragEvents(TClassBuilder<T>& c) {
  c.Property(
      u"OnDragDrop", [](const T& o) { return o.Kept.OnDragDrop; },
      [](T& o, const TDragDropEvent& v) { o.Kept.OnDragDrop = v; });
  c.Property(
      u"OnDragOver", [](const T& o) { return o.Kept.OnDragOver; },
      [](T& o, const TDragOverEvent& v) { o.Kept.OnDragOver = v; });
  c.Property(
      u"OnEndDock", [](const T& o) { return o.Kept.OnEndDock; },
      [](T& o, const TEndDragEvent& v) { o.Kept.OnEndDock = v; }, &EndDragEventType());
  c.Property(
      u"OnEndDrag", [](const T& o) { return o.Kept.OnEndDrag; },
      [](T& o, const TEndDragEvent& v) { o.Kept.OnEndDrag = v; }, &EndDragEventType());
  c.Property(
      u"OnStartDrag", [](const T& o) { return o.Kept.OnStartDrag; },
      [](T& o, const TStartDragEvent& v) { o.Kept.OnStartDrag = v; });
}

// What forms store that the library keeps without acting on it (see
// TKeptControlProperties), in the groups controls publish them.
#define KST_KEPT_PROPERTY(name, member)               \
  c.Property(                                         \
      name, [](const auto& o) { return o.Kept.member; }, \
      [](auto& o, const decltype(TKeptControlProperties::member)& v) { o.Kept.member = v; })
template <class T>
void BiDiProperties(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"BiDiMode", BiDiMode);
  KST_KEPT_PROPERTY(u"ParentBiDiMode", ParentBiDiMode).Default(1);
}
template <class T>
void Ctl3DProperties(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"Ctl3D", Ctl3D).Default(1);
  KST_KEPT_PROPERTY(u"ParentCtl3D", ParentCtl3D).Default(1);
}
template <class T>
void DragProperties(TClassBuilder<T>& c) {
  c.Property(
       u"DragCursor", [](const T& o) { return o.Kept.DragCursor; }, [](T& o, Integer v) { o.Kept.DragCursor = v; },
       &types::Cursor())
      .Default(-12);
  KST_KEPT_PROPERTY(u"DragKind", DragKind).Default(dkDrag);
  KST_KEPT_PROPERTY(u"DragMode", DragMode).Default(dmManual);
  DragEvents(c);
}
template <class T>
void ImeProperties(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"ImeMode", ImeMode).Default(imDontCare);
  KST_KEPT_PROPERTY(u"ImeName", ImeName);
}
template <class T>
void BevelProperties(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"BevelEdges", BevelEdges);
  KST_KEPT_PROPERTY(u"BevelKind", BevelKind).Default(bkNone);
}
template <class T>
void ImageProperties(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"ImageIndex", ImageIndex).Default(-1);
  KST_KEPT_PROPERTY(u"ImageName", ImageName);
  c.Property(
      u"Images", [](const T& o) { return o.Kept.Images; },
      [](T& o, TCustomImageList* images) {
        if (o.Kept.Images) o.Kept.Images->RemoveFreeNotification(&o);
        o.Kept.Images = images;
        if (images) images->FreeNotification(&o);
      });
}
// The bevel an edit-like control draws inside its frame, and the border
// between its frame and its client area.
template <class T>
void BevelCutProperties(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"BevelInner", BevelInner).Default(bvRaised);
  KST_KEPT_PROPERTY(u"BevelOuter", BevelOuter).Default(bvLowered);
  KST_KEPT_PROPERTY(u"BevelWidth", BevelWidth).Default(1);
}
template <class T>
void BorderWidth(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"BorderWidth", BorderWidth).Default(0);
}
template <class T>
void TextHint(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"TextHint", TextHint);
}
// Newer IDEs' docking and styling, kept as written (every control's
// margins are the control's own).
template <class T>
void StyleElements(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"StyleElements", StyleElements);
}
template <class T>
void ParentDoubleBuffered(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"ParentDoubleBuffered", ParentDoubleBuffered).Default(1);
}
template <class T>
void DockSite(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"DockSite", DockSite).Default(0);
}
template <class T>
void UseDockManager(TClassBuilder<T>& c) {
  KST_KEPT_PROPERTY(u"UseDockManager", UseDockManager).Default(0);
}
// (KST_KEPT_PROPERTY stays defined: classes publish their own kept values
// with it.)

// A handler a preview never runs, in slot I of the control's kept events.
template <size_t I, class T>
void KeptEvent(TClassBuilder<T>& c, const String& name, TKeptEvent type) {
  static_assert(I < std::tuple_size_v<decltype(TKeptControlProperties::Events)>);
  c.Property(
      name, [](const T& o) { return o.Kept.Events[I]; }, [](T& o, const TNotifyEvent& v) { o.Kept.Events[I] = v; },
      &KeptEventType(type));
}

// The kept groups that the library's older classes add to their own lists.
template <class T>
void KeptWindowed(TClassBuilder<T>& c) {
  BiDiProperties(c);
  Ctl3DProperties(c);
  DragProperties(c);
}
template <class T>
void KeptGraphic(TClassBuilder<T>& c) {
  BiDiProperties(c);
  DragProperties(c);
}
template <class T>
void KeptEdit(TClassBuilder<T>& c) {
  KeptWindowed(c);
  BevelProperties(c);
  BevelCutProperties(c);
  ImeProperties(c);
}

// The bundle of properties and events that every windowed control
// publishes; a class adds its own beside it.
template <class T>
void WinControlBundle(TClassBuilder<T>& c) {
  Align(c);
  Anchors(c);
  BiDiProperties(c);
  Color(c);
  Constraints(c);
  Ctl3DProperties(c);
  DoubleBuffered(c);
  DragProperties(c);
  Enabled(c);
  Font(c);
  ParentColor(c);
  ParentFont(c);
  ParentShowHint(c);
  PopupMenu(c);
  ShowHint(c);
  TabOrder(c);
  TabStop(c);
  Visible(c);
  MouseEvents(c);
  FocusEvents(c);
  KeyEvents(c);
}

// The same for controls drawn on their parent (no focus, no keys).
template <class T>
void GraphicControlBundle(TClassBuilder<T>& c) {
  Align(c);
  Anchors(c);
  BiDiProperties(c);
  Color(c);
  Constraints(c);
  DragProperties(c);
  Enabled(c);
  Font(c);
  ParentColor(c);
  ParentFont(c);
  ParentShowHint(c);
  PopupMenu(c);
  ShowHint(c);
  Visible(c);
  MouseEvents(c);
}

}  // namespace publish
