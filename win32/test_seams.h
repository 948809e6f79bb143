// What the Wine tests set in the environment to look into a running window; read once at start-up and
// inert when unset:
//   TARIFMASTER_TEST_START_DATE, TARIFMASTER_TEST_START_TIME  stand in for the moment of the start
//   TARIFMASTER_TEST_RECORD       a file that gets every field's text and the height of each drop-down's
//                                 entries ("rowheight:NAME=N") once the window shows, then, as
//                                 it happens, what the form writes into a control
//                                 ("NAME=TEXT"; a list's entries as "entries:NAME=A|B"), every message shown
//                                 ("message=TEXT", before the box opens), every target the form hands to the
//                                 shell ("open=TARGET", which then opens nothing) and every control that gets
//                                 focus
//                                 ("focus=NAME"); when the window closes, every field's text, the
//                                 client area, the resolution and each control's rectangle
//                                 ("rect:NAME=x,y,w,h"), then "closed=1"
//   TARIFMASTER_TEST_ACCESSIBLE   with the record: what the accessibility layer answers for every
//                                 control and tab once the window shows ("acc:NAME=ROLE|NAME")
//   TARIFMASTER_TEST_EXIT_WHEN_SHOWN  ends the program once the window is built and painted (timing)
//   TARIFMASTER_TEST_REFUSE       the name of a control whose creation is taken as refused (start-up's
//                                 failure path)
#pragma once

#include "form/controls.h"
#include "win32/record_file.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace win32 {

struct TestSeams {
    std::optional<form::StartTime> start;
    std::shared_ptr<RecordFile> record; // the test record, when a test asks for one
    bool accessible = false;
    bool exitWhenShown = false;
    std::string refuse;

    static TestSeams fromEnvironment();
};

} // namespace win32
