// An engine wired to a fake window and a config.ini in a fresh folder, as the main window wires it.
#pragma once

#include "FakeControls.h"
#include "TempDir.h"

#include "engine/ControlNames.h"
#include "engine/Engine.h"
#include "engine/Texts.h"

#include <gtest/gtest.h>

namespace lumorra::test {

class EngineTest : public ::testing::Test {
  protected:
    EngineTest() {
        controls.onTextChanged = [this](std::string_view control) { engine.OnTextChanged(control); };
        // The form's texts at creation.
        controls.captions[std::string(names::按钮3)] = std::string(texts::kStart);
        controls.captions[std::string(names::标签10)] = "0";
        controls.captions[std::string(names::标签11)] = "0";
    }

    // Puts texts into the range boxes as if they had been there before, raising nothing.
    void Range(const std::string& lower, const std::string& upper) {
        controls.texts[std::string(names::编辑框2)] = lower;
        controls.texts[std::string(names::编辑框3)] = upper;
    }
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i)
            engine.CountDown();
    }
    std::string Text(std::string_view control) const { return controls.Text(control); }
    std::string Caption(std::string_view control) const { return controls.Caption(control); }
    std::string Stored(std::string_view section, std::string_view key) const {
        return engine.settings().ReadSetting(section, key);
    }

    TempDir dir;
    FakeControls controls;
    Engine engine{controls, Settings(dir.path())};
};

} // namespace lumorra::test
