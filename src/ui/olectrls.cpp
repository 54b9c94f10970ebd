#include "ui/olectrls.h"

#include "classes/filer.h"
#include "classes/reflection.h"
#include "rtl/streams.h"
#include "ui/publish.h"

KST_CLASS_IMPL(TFramedArea, "OleCtrls")
KST_CLASS_IMPL(TMediaPlayer, "MPlayer")
KST_CLASS_IMPL(TOleContainer, "OleCtnrs")
KST_CLASS_IMPL(TWebBrowser, "SHDocVw")

const TTypeInfo& DescribeType(TypeTag<TMPBtnType>) {
  static const TEnumTypeInfo t(u"TMPBtnType", u"MPlayer",
                               {u"btPlay", u"btPause", u"btStop", u"btNext", u"btPrev", u"btStep", u"btBack",
                                u"btRecord", u"btEject"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMPBtnTypes>) {
  static const TSetTypeInfo t(u"TButtonSet", u"MPlayer",
                              static_cast<const TOrdinalTypeInfo&>(DescribeType(TypeTag<TMPBtnType>{})));
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TMPDeviceTypes>) {
  static const TEnumTypeInfo t(u"TMPDeviceTypes", u"MPlayer",
                               {u"dtAutoSelect", u"dtAVIVideo", u"dtCDAudio", u"dtDAT", u"dtDigitalVideo",
                                u"dtMMMovie", u"dtOther", u"dtOverlay", u"dtScanner", u"dtSequencer", u"dtVCR",
                                u"dtVideodisc", u"dtWaveAudio"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TAutoActivate>) {
  static const TEnumTypeInfo t(u"TAutoActivate", u"OleCtnrs", {u"aaManual", u"aaGetFocus", u"aaDoubleClick"});
  return t;
}
const TTypeInfo& DescribeType(TypeTag<TSizeMode>) {
  static const TEnumTypeInfo t(u"TSizeMode", u"OleCtnrs",
                               {u"smClip", u"smCenter", u"smScale", u"smStretch", u"smAutoSize"});
  return t;
}

void TFramedArea::Describe(TClassBuilder<TFramedArea>& c) {
  publish::WinControlBundle(c);
}

TFramedArea::TFramedArea(TComponent* owner) : TCustomControl(owner) {
  SetBounds(Left(), Top(), 240, 150);
  SetColor(clWindow);
}

void TFramedArea::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
  RECT frame = ToRECT(ClientRect());
  DrawEdge(Canvas().Handle(), &frame, EDGE_SUNKEN, BF_RECT);
}

void TFramedArea::DefineStoredData(TFiler& filer, StringView name) {
  filer.DefineBinaryProperty(
      name,
      [this](TStream& stream) {
        FStoredData.resize(static_cast<size_t>(stream.Size() - stream.Position()));
        if (!FStoredData.empty()) stream.ReadBuffer(FStoredData.data(), static_cast<Int64>(FStoredData.size()));
      },
      [this](TStream& stream) {
        if (!FStoredData.empty()) stream.WriteBuffer(FStoredData.data(), static_cast<Int64>(FStoredData.size()));
      },
      !FStoredData.empty());
}

#define KST_PROPERTY(cls, name) c.Property(u## #name, &cls::name)

void TMediaPlayer::Describe(TClassBuilder<TMediaPlayer>& c) {
  KST_PROPERTY(TMediaPlayer, AutoEnable).Default(1);
  KST_PROPERTY(TMediaPlayer, AutoOpen).Default(0);
  KST_PROPERTY(TMediaPlayer, AutoRewind).Default(1);
  KST_PROPERTY(TMediaPlayer, ColoredButtons);
  KST_PROPERTY(TMediaPlayer, DeviceType).Default(dtAutoSelect);
  c.Property(
      u"Display", [](const TMediaPlayer& o) { return o.Display; },
      [](TMediaPlayer& o, TWinControl* v) {
        if (o.Display) o.Display->RemoveFreeNotification(&o);
        o.Display = v;
        if (v) v->FreeNotification(&o);
      });
  KST_PROPERTY(TMediaPlayer, EnabledButtons);
  KST_PROPERTY(TMediaPlayer, FileName);
  KST_PROPERTY(TMediaPlayer, Shareable).Default(0);
  KST_PROPERTY(TMediaPlayer, VisibleButtons);
  KST_PROPERTY(TMediaPlayer, OnNotify);
  KST_PROPERTY(TMediaPlayer, OnPostClick);
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TFramedArea(owner) {
  SetBounds(Left(), Top(), 253, 30);
  SetColor(clBtnFace);
}

void TMediaPlayer::Notification(TComponent* component, TOperation operation) {
  TFramedArea::Notification(component, operation);
  if (operation == opRemove && component == Display) Display = nullptr;
}

void TOleContainer::Describe(TClassBuilder<TOleContainer>& c) {
  KST_PROPERTY(TOleContainer, AllowActiveDoc).Default(1);
  KST_PROPERTY(TOleContainer, AllowInPlace).Default(1);
  KST_PROPERTY(TOleContainer, AutoActivate).Default(aaDoubleClick);
  KST_PROPERTY(TOleContainer, AutoVerbMenu).Default(1);
  KST_PROPERTY(TOleContainer, CopyOnSave).Default(1);
  KST_PROPERTY(TOleContainer, Iconic).Default(0);
  KST_PROPERTY(TOleContainer, OldStreamFormat).Default(0);
  KST_PROPERTY(TOleContainer, SizeMode).Default(smClip);
  KST_PROPERTY(TOleContainer, OnActivate);
  KST_PROPERTY(TOleContainer, OnDeactivate);
  KST_PROPERTY(TOleContainer, OnObjectMove);
  KST_PROPERTY(TOleContainer, OnResize);
}

void TOleContainer::DefineProperties(TFiler& filer) {
  TFramedArea::DefineProperties(filer);
  DefineStoredData(filer, u"Data");
}

void TWebBrowser::Describe(TClassBuilder<TWebBrowser>& c) {
  KST_PROPERTY(TWebBrowser, Offline).Default(0);
  KST_PROPERTY(TWebBrowser, RegisterAsBrowser).Default(0);
  KST_PROPERTY(TWebBrowser, RegisterAsDropTarget).Default(1);
  KST_PROPERTY(TWebBrowser, Silent).Default(0);
  KST_PROPERTY(TWebBrowser, OnBeforeNavigate2);
  KST_PROPERTY(TWebBrowser, OnCommandStateChange);
  KST_PROPERTY(TWebBrowser, OnDocumentComplete);
  KST_PROPERTY(TWebBrowser, OnDownloadBegin);
  KST_PROPERTY(TWebBrowser, OnDownloadComplete);
  KST_PROPERTY(TWebBrowser, OnNavigateComplete2);
  KST_PROPERTY(TWebBrowser, OnNewWindow2);
  KST_PROPERTY(TWebBrowser, OnProgressChange);
  KST_PROPERTY(TWebBrowser, OnStatusTextChange);
  KST_PROPERTY(TWebBrowser, OnTitleChange);
}
#undef KST_PROPERTY

// The browser's state, its location among it, is one block of control data.
void TWebBrowser::DefineProperties(TFiler& filer) {
  TFramedArea::DefineProperties(filer);
  DefineStoredData(filer, u"ControlData");
}

void RegisterOleControlClasses(TClassRegistry& registry) {
  registry.RegisterClasses(
      {&TMediaPlayer::StaticClass(), &TOleContainer::StaticClass(), &TWebBrowser::StaticClass()}, u"ui");
  for (const TTypeInfo* type : {&DescribeType(TypeTag<TMPBtnTypes>{}), &DescribeType(TypeTag<TMPDeviceTypes>{}),
                                &DescribeType(TypeTag<TAutoActivate>{}), &DescribeType(TypeTag<TSizeMode>{})})
    registry.RegisterType(*type);
}
