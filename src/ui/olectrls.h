// The media player, the OLE container and the web browser, shown as the
// designer shows them: a framed empty area. They are kept inert: no device,
// file, OLE server or URL a form names is ever opened; the data the form
// stores for them is kept as read.
#pragma once

#include "rtl/types.h"
#include "ui/controls.h"

// A framed, empty area in the window colour.
class TFramedArea : public TCustomControl {
  KST_CLASS(TFramedArea, TCustomControl)
 public:
  explicit TFramedArea(TComponent* owner);
  // The bytes the form stores for the control (its control or object data).
  const TBytes& StoredData() const { return FStoredData; }

 protected:
  void Paint() override;
  // Registers the binary property under the form's name for it.
  void DefineStoredData(TFiler& filer, StringView name);

 private:
  TBytes FStoredData;
};

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
using TMPBtnTypes = TSet<TMPBtnType>;
enum TMPDeviceTypes {
  dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther, dtOverlay, dtScanner,
  dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};
enum TAutoActivate { aaManual, aaGetFocus, aaDoubleClick };
enum TSizeMode { smClip, smCenter, smScale, smStretch, smAutoSize };
const TTypeInfo& DescribeType(TypeTag<TMPBtnType>);
const TTypeInfo& DescribeType(TypeTag<TMPBtnTypes>);
const TTypeInfo& DescribeType(TypeTag<TMPDeviceTypes>);
const TTypeInfo& DescribeType(TypeTag<TAutoActivate>);
const TTypeInfo& DescribeType(TypeTag<TSizeMode>);

class TMediaPlayer : public TFramedArea {
  KST_CLASS(TMediaPlayer, TFramedArea)
 public:
  explicit TMediaPlayer(TComponent* owner);
  String FileName;
  TMPDeviceTypes DeviceType = dtAutoSelect;
  TMPBtnTypes VisibleButtons{btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject};
  TMPBtnTypes ColoredButtons = VisibleButtons, EnabledButtons = VisibleButtons;
  bool AutoEnable = true, AutoOpen = false, AutoRewind = true, Shareable = false;
  TWinControl* Display = nullptr;
  TNotifyEvent OnNotify, OnPostClick;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
};

class TOleContainer : public TFramedArea {
  KST_CLASS(TOleContainer, TFramedArea)
 public:
  using TFramedArea::TFramedArea;
  bool AllowInPlace = true, AllowActiveDoc = true, AutoVerbMenu = true, CopyOnSave = true, Iconic = false,
       OldStreamFormat = false;
  TAutoActivate AutoActivate = aaDoubleClick;
  TSizeMode SizeMode = smClip;
  TNotifyEvent OnActivate, OnDeactivate, OnObjectMove, OnResize;

 protected:
  void DefineProperties(TFiler& filer) override;
};

class TWebBrowser : public TFramedArea {
  KST_CLASS(TWebBrowser, TFramedArea)
 public:
  using TFramedArea::TFramedArea;
  bool Silent = false, Offline = false, RegisterAsBrowser = false, RegisterAsDropTarget = true;
  // Whether anything was ever navigated to (never, in this library).
  bool Navigated() const { return false; }
  TNotifyEvent OnBeforeNavigate2, OnNavigateComplete2, OnDocumentComplete, OnDownloadBegin, OnDownloadComplete,
      OnNewWindow2, OnStatusTextChange, OnTitleChange, OnProgressChange, OnCommandStateChange;

 protected:
  void DefineProperties(TFiler& filer) override;
};

void RegisterOleControlClasses(TClassRegistry& registry);
