// Helpers that publish the control properties each control class chooses
// to show, so that every class declares them the same way (name, type,
// default) and in the order forms store them.
#pragma once

#include "classes/identmaps.h"
#include "ui/actnlist.h"
#include "ui/controls.h"
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

}  // namespace publish
