// The window with the real compiler instead of the scripted one.
#pragma once

#include "IParser.h"
#include "WindowFixture.h"

class RealCompilerTest : public WindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Window = std::make_unique<TUVIDEMain>([] { return NewParser(); });
    auto dialogs = std::make_unique<TScriptedDialogs>();
    Dialogs = dialogs.get();
    Window->SetDialogs(std::move(dialogs));
    Window->show();
  }
};
