// Observers of the editor's input and notifications: ordered lists of method
// pointers, the six key and mouse handler chains that run before the editor's
// own handling, a notification chain with an exception hook, and the entry of
// a hooked command handler.
#pragma once

#include <vector>

#include "codeedit/keystrokes.h"
#include "codeedit/types.h"
#include "rtl/events.h"
#include "rtl/exceptions.h"
#include "rtl/uitypes.h"

using TCodeKeyEvent = TDelegate<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TCodeKeyPressEvent = TDelegate<void(TObject* Sender, Char& Key)>;
using TCodeMouseEvent = TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseCursorEvent = TDelegate<void(TObject* Sender, const TBufferCoord& aLineCharPos, TCursor& aCursor)>;

// Handlers in the order added; duplicates allowed.
template <typename Handler>
class TMethodList {
 public:
  Integer Count() const noexcept { return static_cast<Integer>(fData.size()); }
  void Add(const Handler& aHandler) { fData.push_back(aHandler); }
  // Removes the last handler equal to aHandler only.
  void Remove(const Handler& aHandler) {
    for (auto i = fData.size(); i-- > 0;) {
      if (fData[i] == aHandler) {
        fData.erase(fData.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
    }
  }
  const Handler& GetMethod(Integer index) const { return fData.at(static_cast<size_t>(index)); }

 private:
  std::vector<Handler> fData;
};

class TCodeEditKbdHandler : public TObject {
 public:
  void AddKeyDownHandler(const TCodeKeyEvent& handler) { fKeyDownChain.Add(handler); }
  void RemoveKeyDownHandler(const TCodeKeyEvent& handler) { fKeyDownChain.Remove(handler); }
  void AddKeyUpHandler(const TCodeKeyEvent& handler) { fKeyUpChain.Add(handler); }
  void RemoveKeyUpHandler(const TCodeKeyEvent& handler) { fKeyUpChain.Remove(handler); }
  void AddKeyPressHandler(const TCodeKeyPressEvent& handler) { fKeyPressChain.Add(handler); }
  void RemoveKeyPressHandler(const TCodeKeyPressEvent& handler) { fKeyPressChain.Remove(handler); }
  void AddMouseDownHandler(const TCodeMouseEvent& handler) { fMouseDownChain.Add(handler); }
  void RemoveMouseDownHandler(const TCodeMouseEvent& handler) { fMouseDownChain.Remove(handler); }
  void AddMouseUpHandler(const TCodeMouseEvent& handler) { fMouseUpChain.Add(handler); }
  void RemoveMouseUpHandler(const TCodeMouseEvent& handler) { fMouseUpChain.Remove(handler); }
  void AddMouseCursorHandler(const TMouseCursorEvent& handler) { fMouseCursorChain.Add(handler); }
  void RemoveMouseCursorHandler(const TMouseCursorEvent& handler) { fMouseCursorChain.Remove(handler); }

  // Newest handler first; a handler that sets the key to 0 (NUL) swallows it
  // and ends the run. A run started from inside a run of the same chain does
  // nothing.
  void ExecuteKeyDown(TObject* sender, Word& key, TShiftState shift);
  void ExecuteKeyUp(TObject* sender, Word& key, TShiftState shift);
  void ExecuteKeyPress(TObject* sender, Char& key);
  // Newest handler first, every handler runs.
  void ExecuteMouseDown(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y);
  void ExecuteMouseUp(TObject* sender, TMouseButton button, TShiftState shift, Integer x, Integer y);
  void ExecuteMouseCursor(TObject* sender, const TBufferCoord& aLineCharPos, TCursor& aCursor);

 private:
  TMethodList<TCodeKeyPressEvent> fKeyPressChain;
  TMethodList<TCodeKeyEvent> fKeyDownChain;
  TMethodList<TCodeKeyEvent> fKeyUpChain;
  TMethodList<TCodeMouseEvent> fMouseDownChain;
  TMethodList<TCodeMouseEvent> fMouseUpChain;
  TMethodList<TMouseCursorEvent> fMouseCursorChain;
  bool fInKeyPress = false;
  bool fInKeyDown = false;
  bool fInKeyUp = false;
  bool fInMouseDown = false;
  bool fInMouseUp = false;
  bool fInMouseCursor = false;
};

KST_DECLARE_EXCEPTION(ECodeMethodChain, Exception);

using TCodeExceptionEvent = TDelegate<void(TObject* Sender, Exception& E, bool& DoContinue)>;

// Handlers fired in the order added. A handler that raises one of the
// system's exceptions goes to the exception handler, which may end the walk;
// without one the exception ends the walk and passes on.
class TCodeMethodChain : public TObject {
 public:
  void Fire();

  const TCodeExceptionEvent& ExceptionHandler() const noexcept { return FExceptionHandler; }
  void SetExceptionHandler(TCodeExceptionEvent handler) { FExceptionHandler = std::move(handler); }

 protected:
  virtual Integer HandlerCount() const = 0;
  virtual void FireOne(Integer index) = 0;
  // Returns whether the walk goes on.
  virtual bool DoHandleException(Exception& e);
  virtual const char16_t* ChainClassName() const { return u"TCodeMethodChain"; }

 private:
  TCodeExceptionEvent FExceptionHandler;
};

class TCodeNotifyEventChain : public TCodeMethodChain {
 public:
  explicit TCodeNotifyEventChain(TObject* aSender = nullptr) : FSender(aSender) {}

  void Add(const TNotifyEvent& aEvent) { FNotifyProcs.push_back(aEvent); }
  // Removes every handler equal to aEvent.
  void Remove(const TNotifyEvent& aEvent);
  Integer Count() const noexcept { return static_cast<Integer>(FNotifyProcs.size()); }

  TObject* Sender() const noexcept { return FSender; }
  void SetSender(TObject* value) noexcept { FSender = value; }

 protected:
  Integer HandlerCount() const override { return Count(); }
  void FireOne(Integer index) override;
  const char16_t* ChainClassName() const override { return u"TCodeNotifyEventChain"; }

 private:
  std::vector<TNotifyEvent> FNotifyProcs;
  TObject* FSender;
};

using THookedCommandEvent = TDelegate<void(TObject* Sender, bool AfterProcessing, bool& Handled,
                                           TCodeEditorCommand& Command, Char& AChar, void* Data, void* HandlerData)>;

// One hook on the editor's command processing with the data handed back to it.
class THookedCommandHandlerEntry : public TObject {
 public:
  THookedCommandHandlerEntry(THookedCommandEvent aEvent, void* aData) : fEvent(std::move(aEvent)), fData(aData) {}
  bool SameEvent(const THookedCommandEvent& aEvent) const { return fEvent == aEvent; }
  const THookedCommandEvent& Event() const noexcept { return fEvent; }
  void* Data() const noexcept { return fData; }

 private:
  THookedCommandEvent fEvent;
  void* fData;
};
