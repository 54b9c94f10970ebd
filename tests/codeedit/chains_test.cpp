#include "codeedit/chains.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Recorder : TObject {
  std::string log;
  void KeyA(TObject*, Word& key, TShiftState) { log += "a" + std::to_string(key); }
  void KeyB(TObject*, Word& key, TShiftState) {
    log += "b";
    key = 0;
  }
  void KeyC(TObject*, Word&, TShiftState) { log += "c"; }
  void Notify(TObject*) { log += "n"; }
  void NotifyOther(TObject*) { log += "o"; }
  void Fail(TObject*) {
    log += "f";
    throw EConvertError(u"failed");
  }
};

TEST(KeyChains, NewestFirstAndASwallowedKeyStopsTheRun) {
  Recorder r;
  TCodeEditKbdHandler handler;
  handler.AddKeyDownHandler(TCodeKeyEvent(&r, &Recorder::KeyA));
  handler.AddKeyDownHandler(TCodeKeyEvent(&r, &Recorder::KeyB));
  handler.AddKeyDownHandler(TCodeKeyEvent(&r, &Recorder::KeyC));
  Word key = 65;
  handler.ExecuteKeyDown(nullptr, key, {});
  EXPECT_EQ(r.log, "cb");  // the first added never runs
  EXPECT_EQ(key, 0);

  handler.RemoveKeyDownHandler(TCodeKeyEvent(&r, &Recorder::KeyB));
  r.log.clear();
  key = 66;
  handler.ExecuteKeyDown(nullptr, key, {});
  EXPECT_EQ(r.log, "ca66");
}

TEST(KeyChains, KeyPressStopsAtNulAndARunInsideARunDoesNothing) {
  TCodeEditKbdHandler handler;
  std::string log;
  handler.AddKeyPressHandler([&](TObject*, Char& key) { log += key == u'x' ? "1" : "?"; });
  handler.AddKeyPressHandler([&](TObject* sender, Char& key) {
    log += "2";
    Char nested = u'y';
    handler.ExecuteKeyPress(sender, nested);  // re-entrant: ignored
    if (key == u'q') key = 0;
  });
  Char key = u'x';
  handler.ExecuteKeyPress(nullptr, key);
  EXPECT_EQ(log, "21");
  log.clear();
  key = u'q';
  handler.ExecuteKeyPress(nullptr, key);
  EXPECT_EQ(log, "2");
}

TEST(MouseChains, EveryHandlerRunsAndTheFirstAddedHasTheLastWord) {
  TCodeEditKbdHandler handler;
  int downs = 0;
  handler.AddMouseDownHandler([&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++downs; });
  handler.AddMouseDownHandler([&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++downs; });
  handler.ExecuteMouseDown(nullptr, mbLeft, {}, 1, 2);
  EXPECT_EQ(downs, 2);
  handler.AddMouseCursorHandler([](TObject*, const TBufferCoord&, TCursor& cursor) { cursor = crArrow; });
  handler.AddMouseCursorHandler([](TObject*, const TBufferCoord&, TCursor& cursor) { cursor = crDefault; });
  TCursor cursor = crIBeam;
  handler.ExecuteMouseCursor(nullptr, {1, 1}, cursor);
  EXPECT_EQ(cursor, crArrow);
}

TEST(MethodList, RemoveTakesOneCopy) {
  Recorder r;
  TMethodList<TNotifyEvent> list;
  list.Add(TNotifyEvent(&r, &Recorder::Notify));
  list.Add(TNotifyEvent(&r, &Recorder::NotifyOther));
  list.Add(TNotifyEvent(&r, &Recorder::Notify));
  list.Remove(TNotifyEvent(&r, &Recorder::Notify));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetMethod(0), TNotifyEvent(&r, &Recorder::Notify));
  EXPECT_EQ(list.GetMethod(1), TNotifyEvent(&r, &Recorder::NotifyOther));
}

TEST(NotifyChain, RemoveTakesEveryCopyAndSenderIsPassed) {
  Recorder r;
  TObject sender;
  TCodeNotifyEventChain chain(&sender);
  chain.Add(TNotifyEvent(&r, &Recorder::Notify));
  chain.Add(TNotifyEvent(&r, &Recorder::Notify));
  chain.Add([&](TObject* s) { r.log += s == &sender ? "s" : "?"; });
  chain.Fire();
  EXPECT_EQ(r.log, "nns");
  chain.Remove(TNotifyEvent(&r, &Recorder::Notify));
  EXPECT_EQ(chain.Count(), 1);
}

TEST(NotifyChain, AFailingHandlerEndsTheWalkWithoutAnExceptionHandler) {
  Recorder r;
  TCodeNotifyEventChain chain;
  chain.Add(TNotifyEvent(&r, &Recorder::Fail));
  chain.Add(TNotifyEvent(&r, &Recorder::Notify));
  EXPECT_THROW(chain.Fire(), EConvertError);
  EXPECT_EQ(r.log, "f");
}

TEST(NotifyChain, TheExceptionHandlerDecidesWhetherTheWalkGoesOn) {
  Recorder r;
  TCodeNotifyEventChain chain;
  chain.Add(TNotifyEvent(&r, &Recorder::Fail));
  chain.Add(TNotifyEvent(&r, &Recorder::Notify));
  bool goOn = true;
  String seen;
  chain.SetExceptionHandler([&](TObject* sender, Exception& e, bool& doContinue) {
    EXPECT_EQ(sender, &chain);
    EXPECT_TRUE(doContinue);
    seen = e.Message();
    doContinue = goOn;
  });
  chain.Fire();
  EXPECT_EQ(r.log, "fn");
  EXPECT_EQ(seen, u"failed");
  goOn = false;
  r.log.clear();
  chain.Fire();
  EXPECT_EQ(r.log, "f");
}

TEST(NotifyChain, AnExceptionInTheExceptionHandlerIsReported) {
  Recorder r;
  TCodeNotifyEventChain chain;
  chain.Add(TNotifyEvent(&r, &Recorder::Fail));
  chain.SetExceptionHandler([](TObject*, Exception&, bool&) { throw EAbort(u""); });
  try {
    chain.Fire();
    FAIL() << "no error";
  } catch (const ECodeMethodChain& e) {
    EXPECT_EQ(e.Message(),
              u"TCodeNotifyEventChain.DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler");
  }
}

TEST(NotifyChain, OtherThrownValuesPassThrough) {
  TCodeNotifyEventChain chain;
  bool handled = false;
  chain.Add([](TObject*) { throw 42; });
  chain.SetExceptionHandler([&](TObject*, Exception&, bool&) { handled = true; });
  EXPECT_THROW(chain.Fire(), int);
  EXPECT_FALSE(handled);
}

TEST(HookedCommands, EntriesCompareTheirEvent) {
  Recorder r;
  int data = 0;
  const THookedCommandEvent hook = [](TObject*, bool, bool&, TCodeEditorCommand&, Char&, void*, void*) {};
  THookedCommandHandlerEntry entry(hook, &data);
  EXPECT_TRUE(entry.SameEvent(hook));
  EXPECT_FALSE(entry.SameEvent([](TObject*, bool, bool&, TCodeEditorCommand&, Char&, void*, void*) {}));
  EXPECT_EQ(entry.Data(), &data);
}

}  // namespace
