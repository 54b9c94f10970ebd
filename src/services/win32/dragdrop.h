// A drop target for a window control over the system's OLE drag and drop:
// the system's callbacks become events, and during a drop the owner asks for
// the dropped file names, the names of virtual files or the content of one.
#pragma once

#include "ui/winapi.h"

#include <ole2.h>

#include <memory>
#include <vector>

#include "rtl/uitypes.h"
#include "services/dropformats.h"
#include "services/svcomponent.h"
#include "ui/messages.h"

class TStrings;
class TStream;
class TWinControl;
class TWndProcNext;
class TSvDropTarget;

using TSvDragDropEvent =
    TDelegate<void(TSvDropTarget* Sender, TSvDropEffect& Effect, TShiftState Shift, Integer X, Integer Y)>;
using TSvDragAcceptEvent = TDelegate<void(TSvDropTarget* Sender, bool& Accept)>;
using TSvDragEvent = TDelegate<void(TSvDropTarget* Sender, TSvDropEffect& Effect)>;
using TSvDragLeaveEvent = TDelegate<void(TSvDropTarget* Sender)>;
// The names of dropped files, once the drop has returned to the program
// that dragged them.
using TSvFilesDroppedEvent = TDelegate<void(TSvDropTarget* Sender, TStrings* FileNames)>;
const TTypeInfo& DescribeType(TypeTag<TSvDropEffect>);
const TTypeInfo& DescribeType(TypeTag<TSvDragDropEvent>);
const TTypeInfo& DescribeType(TypeTag<TSvDragAcceptEvent>);
const TTypeInfo& DescribeType(TypeTag<TSvDragEvent>);
const TTypeInfo& DescribeType(TypeTag<TSvDragLeaveEvent>);
const TTypeInfo& DescribeType(TypeTag<TSvFilesDroppedEvent>);

class TSvDropTarget : public TSvComponent {
  KST_CLASS(TSvDropTarget, TSvComponent)
 public:
  explicit TSvDropTarget(TComponent* owner);
  ~TSvDropTarget() override;

  bool AcceptDrag() const { return FAcceptDrag; }
  void SetAcceptDrag(bool value);
  TWinControl* Control() const { return FControl; }
  // Registers the control's window with the system (made now if need be);
  // a refusal raises the system's error.
  void SetControl(TWinControl* control);
  // The data of the drag in progress (none outside one).
  IDataObject* DataObject() const { return FDataObject; }
  // The system's callbacks land here.
  IDropTarget* DropTargetInterface();

  // The dropped files' names added to the list (which may be nil); their
  // number. 0 without file names or outside a drag.
  Integer GetFilenames(TStrings* list);
  Integer GetFilenamesW(TStrings* list);
  // Virtual files: their number, their names, the content of one.
  Integer GetFileDescrCount();
  Integer GetFileDescrNames(TStrings* list);
  bool GetFileContent(Integer index, TStream* stream);

  TSvDragDropEvent OnDragDrop;
  TSvDragAcceptEvent OnDragAccept;
  TSvDragEvent OnDragEnter;
  TSvDragEvent OnDragOver;
  TSvDragLeaveEvent OnDragLeave;
  TSvFilesDroppedEvent OnFilesDropped;

 protected:
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual bool DoDragAccept();
  virtual void DoDragEnter(Cardinal& effect);
  virtual void DoDragOver(Cardinal& effect);
  virtual void DoDragLeave();
  virtual void DoDragDrop(Cardinal& effect, TShiftState shift, Integer x, Integer y);

 private:
  class TTarget;
  friend class TTarget;
  bool Registrable() const;
  void RegisterTarget();
  void RevokeTarget();
  void HoldData(IDataObject* data);
  void ReleaseData();
  // The global memory of a format of the data in progress, locked, or empty.
  std::vector<Byte> GlobalData(const FORMATETC& format);
  // The names of the file list in progress (none on failure).
  std::vector<String> DroppedNames();
  // Follows the control's window: a window made anew (its style changed,
  // say) is registered again, and one that goes is revoked first.
  void WatchWindow(TMessage& message, const TWndProcNext& next);
  void WatchControl(bool watch);
  void QueueDroppedFiles();
  void DeliverDroppedFiles(TMessage& message);

  IDataObject* FDataObject = nullptr;
  bool FStreamedAcceptDrag = true;
  TWinControl* FControl = nullptr;
  HWND FRegisteredWindow = nullptr;
  bool FWatching = false;
  bool FAcceptDrag = true;
  bool FOleInitialized = false;
  std::unique_ptr<TTarget> FTarget;
  HWND FNotifyWindow = nullptr;
  std::vector<std::vector<String>> FDroppedFiles;
};
