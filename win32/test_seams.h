// What the Wine tests set in the environment to look into a running window; read once at start-up and
// inert when unset:
//   TARIFMASTER_TEST_START_DATE, TARIFMASTER_TEST_START_TIME  stand in for the moment of the start
//   TARIFMASTER_TEST_RECORD       a file that gets, when the window closes, the factor fields, every
//                                 message shown and every target handed to the shell ("NAME=TEXT"
//                                 lines), and each control's rectangle ("rect:NAME=x,y,w,h")
//   TARIFMASTER_TEST_EXIT_WHEN_SHOWN  ends the program once the window is built and painted (timing)
#pragma once

#include "form/controls.h"

#include <filesystem>
#include <optional>

namespace win32 {

struct TestSeams {
    std::optional<form::StartTime> start;
    std::filesystem::path record;
    bool exitWhenShown = false;

    static TestSeams fromEnvironment();
};

} // namespace win32
