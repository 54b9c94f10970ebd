#include "ui/registration.h"

#include "classes/reflection.h"
#include "ui/buttons.h"
#include "ui/dialogs.h"
#include "ui/extctrls.h"
#include "ui/forms.h"
#include "ui/imglist.h"
#include "ui/jpeg.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

void RegisterUiClasses(TClassRegistry& registry) {
  const String module = u"ui";
  registry.RegisterClasses(
      {&TControl::StaticClass(), &TWinControl::StaticClass(), &TCustomControl::StaticClass(),
       &TGraphicControl::StaticClass(), &TScrollingWinControl::StaticClass(), &TScrollBox::StaticClass(),
       &TCustomForm::StaticClass(), &TForm::StaticClass(), &TFrame::StaticClass(), &TPanel::StaticClass(),
       &TLabel::StaticClass(), &TButton::StaticClass(), &TTimer::StaticClass(), &TCustomImageList::StaticClass(),
       &TImageList::StaticClass(), &TPopupMenu::StaticClass()},
      module);
  registry.RegisterClasses({&TCustomEdit::StaticClass(), &TEdit::StaticClass(), &TMemo::StaticClass(),
                            &TCheckBox::StaticClass(), &TRadioButton::StaticClass(), &TCustomGroupBox::StaticClass(),
                            &TGroupBox::StaticClass(), &TListBox::StaticClass(), &TComboBox::StaticClass(),
                            &TCustomRadioGroup::StaticClass(), &TRadioGroup::StaticClass(), &TBevel::StaticClass(),
                            &TSplitter::StaticClass(), &TImage::StaticClass(), &TBitBtn::StaticClass()},
                           module);
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TAlign>{}),
                                &DescribeType(TypeTag<TAnchors>{}),
                                &DescribeType(TypeTag<TFormBorderStyle>{}),
                                static_cast<const TTypeInfo*>(&BorderStyleType()),
                                &DescribeType(TypeTag<TBevelCut>{}),
                                &DescribeType(TypeTag<TMouseButton>{}),
                                &DescribeType(TypeTag<TMouseEvent>{}),
                                &DescribeType(TypeTag<TMouseMoveEvent>{}),
                                &DescribeType(TypeTag<TKeyEvent>{}),
                                &DescribeType(TypeTag<TKeyPressEvent>{}),
                                &DescribeType(TypeTag<TMouseWheelEvent>{}),
                                &DescribeType(TypeTag<TMouseWheelUpDownEvent>{}),
                                &DescribeType(TypeTag<TContextPopupEvent>{}),
                                &DescribeType(TypeTag<TCanResizeEvent>{}),
                                &DescribeType(TypeTag<TFormStyle>{}),
                                &DescribeType(TypeTag<TBorderIcons>{}),
                                &DescribeType(TypeTag<TPosition>{}),
                                &DescribeType(TypeTag<TWindowState>{}),
                                &DescribeType(TypeTag<TCloseAction>{}),
                                &DescribeType(TypeTag<TCloseEvent>{}),
                                &DescribeType(TypeTag<TCloseQueryEvent>{}),
                                &DescribeType(TypeTag<TAlignment>{}),
                                &DescribeType(TypeTag<TTextLayout>{}),
                                &DescribeType(TypeTag<TFontPitch>{}),
                                &DescribeType(TypeTag<TPenStyle>{}),
                                &DescribeType(TypeTag<TBrushStyle>{}),
                                &DescribeType(TypeTag<TPixelFormat>{}),
                                &DescribeType(TypeTag<TDrawingStyle>{}),
                                &DescribeType(TypeTag<TColorDepth>{}),
                                &DescribeType(TypeTag<TMsgDlgType>{}),
                                &DescribeType(TypeTag<TMsgDlgBtn>{})})
    registry.RegisterType(*type);
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TEditCharCase>{}), &DescribeType(TypeTag<TScrollStyle>{}),
                                &DescribeType(TypeTag<TCheckBoxState>{}), &DescribeType(TypeTag<TComboBoxStyle>{}),
                                static_cast<const TTypeInfo*>(&LeftRightType()), &DescribeType(TypeTag<TBevelShape>{}),
                                &DescribeType(TypeTag<TBevelStyle>{}), &DescribeType(TypeTag<TResizeStyle>{}),
                                &DescribeType(TypeTag<TBitBtnKind>{}), &DescribeType(TypeTag<TButtonLayout>{}),
                                static_cast<const TTypeInfo*>(&NumGlyphsType())})
    registry.RegisterType(*type);
  RegisterJPEGFormat();
}
