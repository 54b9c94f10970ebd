#include "ui/registration.h"

#include "classes/reflection.h"
#include "ui/actnlist.h"
#include "ui/actnman.h"
#include "ui/buttons.h"
#include "ui/chart.h"
#include "ui/clipbrd.h"
#include "ui/colorctrls.h"
#include "ui/comctrls.h"
#include "ui/commdlg.h"
#include "ui/commonctrls.h"
#include "ui/coolbar.h"
#include "ui/db.h"
#include "ui/dbctrls.h"
#include "ui/ddeman.h"
#include "ui/dialogs.h"
#include "ui/extdlgs.h"
#include "ui/extctrls.h"
#include "ui/filectrls.h"
#include "ui/forms.h"
#include "ui/grids.h"
#include "ui/imglist.h"
#include "ui/jpeg.h"
#include "ui/pngimage.h"
#include "ui/keptprops.h"
#include "ui/legacyctrls.h"
#include "ui/menus.h"
#include "ui/morectrls.h"
#include "ui/olectrls.h"
#include "ui/outline.h"
#include "ui/panelctrls.h"
#include "ui/scrollctrls.h"
#include "ui/shellctrls.h"
#include "ui/sockets.h"
#include "ui/statusbar.h"
#include "ui/stdactns.h"
#include "ui/stdctrls.h"
#include "ui/tabs.h"
#include "ui/toolbar.h"
#include "ui/webcomps.h"

void RegisterUiClasses(TClassRegistry& registry) {
  const String module = u"ui";
  registry.RegisterClasses(
      {&TControl::StaticClass(), &TWinControl::StaticClass(), &TCustomControl::StaticClass(),
       &TGraphicControl::StaticClass(), &TScrollingWinControl::StaticClass(), &TScrollBox::StaticClass(),
       &TCustomForm::StaticClass(), &TForm::StaticClass(), &TFrame::StaticClass(), &TPanel::StaticClass(),
       &TLabel::StaticClass(), &TButton::StaticClass(), &TTimer::StaticClass(), &TCustomImageList::StaticClass(),
       &TImageList::StaticClass(), &TPopupMenu::StaticClass()},
      module);
  registry.RegisterClasses({&TMenuItem::StaticClass(), &TMenu::StaticClass(), &TMainMenu::StaticClass(),
                            &TBasicAction::StaticClass(), &TContainedAction::StaticClass(),
                            &TCustomAction::StaticClass(), &TAction::StaticClass(), &TCustomActionList::StaticClass(),
                            &TActionList::StaticClass(), &TToolButton::StaticClass(), &TToolBar::StaticClass(),
                            &TStatusPanel::StaticClass(), &TStatusPanels::StaticClass(), &TStatusBar::StaticClass()},
                           module);
  for (const TTypeInfo* type : {static_cast<const TTypeInfo*>(&ShortCutType()),
                                &DescribeType(TypeTag<TPopupAlignment>{}), &DescribeType(TypeTag<TActionEvent>{}),
                                &DescribeType(TypeTag<TToolButtonStyle>{}), &DescribeType(TypeTag<TStatusPanelStyle>{}),
                                &DescribeType(TypeTag<TStatusPanelBevel>{}), &DescribeType(TypeTag<TDrawPanelEvent>{})})
    registry.RegisterType(*type);
  registry.RegisterClasses({&TOpenDialog::StaticClass(), &TSaveDialog::StaticClass(), &TFindDialog::StaticClass(),
                            &TReplaceDialog::StaticClass(), &TFontDialog::StaticClass(), &TColorDialog::StaticClass(),
                            &TPrintDialog::StaticClass(), &TPrinterSetupDialog::StaticClass()},
                           module);
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TOpenOptions>{}), &DescribeType(TypeTag<TOpenOptionsEx>{}),
        &DescribeType(TypeTag<TFindOptions>{}), &DescribeType(TypeTag<TFontDialogOptions>{}),
        &DescribeType(TypeTag<TFontDialogDevice>{}), &DescribeType(TypeTag<TColorDialogOptions>{}),
        &DescribeType(TypeTag<TPrintDialogOptions>{}), &DescribeType(TypeTag<TPrintRange>{})})
    registry.RegisterType(*type);
  registry.RegisterClasses(
      {&TListColumn::StaticClass(), &TListColumns::StaticClass(), &TListItem::StaticClass(), &TListItems::StaticClass(),
       &TListView::StaticClass(), &TTreeNode::StaticClass(), &TTreeNodes::StaticClass(), &TTreeView::StaticClass(),
       &TTabSheet::StaticClass(), &TPageControl::StaticClass(), &TTabSet::StaticClass()},
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
                                &DescribeType(TypeTag<TMsgDlgBtn>{}),
                                &DescribeType(TypeTag<TViewStyle>{}),
                                &DescribeType(TypeTag<TLVSelectItemEvent>{}),
                                &DescribeType(TypeTag<TTVChangedEvent>{}),
                                &DescribeType(TypeTag<TTVChangingEvent>{}),
                                &DescribeType(TypeTag<TTabChangeEvent>{})})
    registry.RegisterType(*type);
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TEditCharCase>{}), &DescribeType(TypeTag<TScrollStyle>{}),
                                &DescribeType(TypeTag<TCheckBoxState>{}), &DescribeType(TypeTag<TComboBoxStyle>{}),
                                static_cast<const TTypeInfo*>(&LeftRightType()), &DescribeType(TypeTag<TBevelShape>{}),
                                &DescribeType(TypeTag<TBevelStyle>{}), &DescribeType(TypeTag<TResizeStyle>{}),
                                &DescribeType(TypeTag<TBitBtnKind>{}), &DescribeType(TypeTag<TButtonLayout>{}),
                                static_cast<const TTypeInfo*>(&NumGlyphsType())})
    registry.RegisterType(*type);
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TBiDiMode>{}), &DescribeType(TypeTag<TDragMode>{}), &DescribeType(TypeTag<TDragKind>{}),
        &DescribeType(TypeTag<TDragState>{}), &DescribeType(TypeTag<TImeMode>{}), &DescribeType(TypeTag<THelpType>{}), &DescribeType(TypeTag<TBevelKind>{}),
        &DescribeType(TypeTag<TBevelEdges>{}), &DescribeType(TypeTag<TDragDropEvent>{}),
        &DescribeType(TypeTag<TDragOverEvent>{}), static_cast<const TTypeInfo*>(&EndDragEventType()),
        &DescribeType(TypeTag<TStartDragEvent>{})})
    registry.RegisterType(*type);
  registry.RegisterClasses({&TCustomDrawGrid::StaticClass(), &TDrawGrid::StaticClass(), &TStringGrid::StaticClass(),
                            &TValueListEditor::StaticClass()},
                           module);
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TGridOptions>{}), &DescribeType(TypeTag<TGridDrawState>{}),
        &DescribeType(TypeTag<TGridDrawingStyle>{}), &DescribeType(TypeTag<TDrawCellEvent>{}),
        &DescribeType(TypeTag<TSelectCellEvent>{}), &DescribeType(TypeTag<TKeyOptions>{}),
        &DescribeType(TypeTag<TDisplayOptions>{})})
    registry.RegisterType(*type);
  registry.RegisterClasses(
      {&TCommonControl::StaticClass(), &TProgressBar::StaticClass(), &TTrackBar::StaticClass(), &TUpDown::StaticClass(),
       &THotKey::StaticClass(), &TDateTimePicker::StaticClass(), &TMonthCalendar::StaticClass(),
       &TAnimate::StaticClass(), &TTabControl::StaticClass(), &TRichEdit::StaticClass(),
       &TParaAttributes::StaticClass(), &TClipboard::StaticClass(), &TMetafileCanvas::StaticClass()},
      module);
  registry.RegisterType(DescribeType(TypeTag<TNumberingStyle>{}));
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TProgressBarOrientation>{}), &DescribeType(TypeTag<TProgressBarStyle>{}),
        &DescribeType(TypeTag<TTrackBarOrientation>{}), &DescribeType(TypeTag<TTickMark>{}),
        &DescribeType(TypeTag<TTickStyle>{}), &DescribeType(TypeTag<TUDAlignButton>{}),
        &DescribeType(TypeTag<TUDOrientation>{}), &DescribeType(TypeTag<THKModifiers>{}),
        &DescribeType(TypeTag<THKInvalidKeys>{}), &DescribeType(TypeTag<TDateTimeKind>{}),
        &DescribeType(TypeTag<TDTDateFormat>{}), &DescribeType(TypeTag<TDTDateMode>{}),
        &DescribeType(TypeTag<TCommonAVI>{}), &DescribeType(TypeTag<TTabPosition>{}),
        &DescribeType(TypeTag<TTabStyle>{})})
    registry.RegisterType(*type);
  registry.RegisterClasses({&TEditAction::StaticClass(), &TEditCut::StaticClass(), &TEditCopy::StaticClass(),
                            &TEditPaste::StaticClass(), &TEditSelectAll::StaticClass(), &TEditUndo::StaticClass(),
                            &TEditDelete::StaticClass(), &TOpenPictureDialog::StaticClass(),
                            &TSavePictureDialog::StaticClass(), &TDdeServerConv::StaticClass(),
                            &TDdeServerItem::StaticClass(), &TDdeClientConv::StaticClass(),
                            &TDdeClientItem::StaticClass()},
                           module);
  registry.RegisterType(DescribeType(TypeTag<TDataMode>{}));
  registry.RegisterClasses({&TWindowAction::StaticClass(), &TWindowClose::StaticClass(),
                            &TWindowCascade::StaticClass(), &TWindowTileHorizontal::StaticClass(),
                            &TWindowTileVertical::StaticClass(), &TWindowMinimizeAll::StaticClass(),
                            &TWindowArrange::StaticClass(), &TFileExit::StaticClass(), &THelpAction::StaticClass(),
                            &THelpContents::StaticClass(),
                            &THelpTopicSearch::StaticClass(), &THelpOnHelp::StaticClass()},
                           module);
  registry.RegisterClasses({&TShape::StaticClass(), &TStaticText::StaticClass(), &TSpeedButton::StaticClass(),
                            &TLinkLabel::StaticClass(), &TControlBar::StaticClass(), &TEditButton::StaticClass(),
                            &TButtonedEdit::StaticClass(), &TSpinEdit::StaticClass()},
                           module);
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TShapeType>{}), &DescribeType(TypeTag<TStaticBorderStyle>{}),
                                &DescribeType(TypeTag<TSysLinkType>{}), &DescribeType(TypeTag<TSysLinkEvent>{})})
    registry.RegisterType(*type);
  registry.RegisterClasses({&TIconOptions::StaticClass(), &TMonthCalColors::StaticClass(),
                            &TListGroup::StaticClass(), &TListGroups::StaticClass()},
                           module);
  registry.RegisterType(DescribeType(TypeTag<TListGroupStateSet>{}));
  for (const TTypeInfo* type :
       {&DescribeType(TypeTag<TMenuBreak>{}), &DescribeType(TypeTag<TMenuAutoFlag>{}),
        &DescribeType(TypeTag<TIconArrangement>{}), &DescribeType(TypeTag<TSortType>{}),
        &DescribeType(TypeTag<TEdgeBorders>{}), &DescribeType(TypeTag<TEdgeStyle>{}),
        &DescribeType(TypeTag<TDTCalAlignment>{}), &DescribeType(TypeTag<TButtonStyle>{})})
    registry.RegisterType(*type);
  RegisterDataClasses(registry);
  RegisterDataControlClasses(registry);
  RegisterChartClasses(registry);
  RegisterWebClasses(registry);
  RegisterSocketClasses(registry);
  RegisterOleControlClasses(registry);
  RegisterFileControlClasses(registry);
  RegisterLegacyControlClasses(registry);
  RegisterCoolBarClasses(registry);
  RegisterScrollControlClasses(registry);
  RegisterColorControlClasses(registry);
  RegisterPanelControlClasses(registry);
  RegisterActionManagerClasses(registry);
  RegisterShellControlClasses(registry);
  RegisterOutlineClasses(registry);
  RegisterDialogActionClasses(registry);
  RegisterJPEGFormat();
  RegisterPNGFormat();
}
