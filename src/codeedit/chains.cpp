#include "codeedit/chains.h"

namespace {

// Sets a re-entrancy flag for the life of a chain run, however it ends.
class TRunGuard {
 public:
  explicit TRunGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TRunGuard() { FFlag = false; }
  TRunGuard(const TRunGuard&) = delete;
  TRunGuard& operator=(const TRunGuard&) = delete;

 private:
  bool& FFlag;
};

template <typename Handler, typename Key, typename... Args>
void RunKeyChain(const TMethodList<Handler>& chain, bool& running, TObject* sender, Key& key, Args... args) {
  if (running) return;
  TRunGuard guard(running);
  for (Integer i = chain.Count(); i-- > 0;) {
    if (i >= chain.Count()) continue;  // a handler removed others
    // A copy: a handler may remove itself from the chain.
    const Handler handler = chain.GetMethod(i);
    handler(sender, key, args...);
    if (key == Key{0}) return;
  }
}

template <typename Handler, typename... Args>
void RunMouseChain(const TMethodList<Handler>& chain, bool& running, Args&&... args) {
  if (running) return;
  TRunGuard guard(running);
  for (Integer i = chain.Count(); i-- > 0;) {
    if (i >= chain.Count()) continue;
    const Handler handler = chain.GetMethod(i);
    handler(args...);
  }
}

}  // namespace

void TCodeEditKbdHandler::ExecuteKeyDown(TObject* sender, Word& key, TShiftState shift) {
  RunKeyChain(fKeyDownChain, fInKeyDown, sender, key, shift);
}

void TCodeEditKbdHandler::ExecuteKeyUp(TObject* sender, Word& key, TShiftState shift) {
  RunKeyChain(fKeyUpChain, fInKeyUp, sender, key, shift);
}

void TCodeEditKbdHandler::ExecuteKeyPress(TObject* sender, Char& key) {
  RunKeyChain(fKeyPressChain, fInKeyPress, sender, key);
}

void TCodeEditKbdHandler::ExecuteMouseDown(TObject* sender, TMouseButton button, TShiftState shift, Integer x,
                                           Integer y) {
  RunMouseChain(fMouseDownChain, fInMouseDown, sender, button, shift, x, y);
}

void TCodeEditKbdHandler::ExecuteMouseUp(TObject* sender, TMouseButton button, TShiftState shift, Integer x,
                                         Integer y) {
  RunMouseChain(fMouseUpChain, fInMouseUp, sender, button, shift, x, y);
}

void TCodeEditKbdHandler::ExecuteMouseCursor(TObject* sender, const TBufferCoord& aLineCharPos, TCursor& aCursor) {
  if (fInMouseCursor) return;
  TRunGuard guard(fInMouseCursor);
  for (Integer i = fMouseCursorChain.Count(); i-- > 0;) {
    if (i >= fMouseCursorChain.Count()) continue;
    const TMouseCursorEvent handler = fMouseCursorChain.GetMethod(i);
    handler(sender, aLineCharPos, aCursor);
  }
}

void TCodeMethodChain::Fire() {
  for (Integer i = 0; i < HandlerCount(); ++i) {
    try {
      FireOne(i);
    } catch (Exception& e) {
      if (!DoHandleException(e)) return;
    }
  }
}

bool TCodeMethodChain::DoHandleException(Exception& e) {
  if (!FExceptionHandler) throw;
  bool doContinue = true;
  try {
    FExceptionHandler(this, e, doContinue);
  } catch (...) {
    throw ECodeMethodChain(String(ChainClassName()) +
                           u".DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler");
  }
  return doContinue;
}

void TCodeNotifyEventChain::Remove(const TNotifyEvent& aEvent) {
  for (auto i = FNotifyProcs.size(); i-- > 0;)
    if (FNotifyProcs[i] == aEvent) FNotifyProcs.erase(FNotifyProcs.begin() + static_cast<std::ptrdiff_t>(i));
}

void TCodeNotifyEventChain::FireOne(Integer index) {
  const TNotifyEvent handler = FNotifyProcs[static_cast<size_t>(index)];
  handler(FSender);
}
