// The main of every window test suite. It draws off-screen unless a platform is asked for, fails the
// running test and closes the window when a real modal window opens (the window must talk through its
// desktop seam), and fails it when a URL reaches the system's desktop services past that seam, so
// that nothing is launched.
//
//   TARIFMASTER_WINDOW_TEST_MAIN(Form1Test)
#pragma once

#include <QObject>

#include <functional>
#include <memory>

int runWindowTests(int argc, char **argv, const std::function<std::unique_ptr<QObject>()> &makeSuite);

#define TARIFMASTER_WINDOW_TEST_MAIN(Suite)                                                                  \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        return runWindowTests(argc, argv, [] {                                                               \
            return std::make_unique<Suite>();                                                                \
        });                                                                                                  \
    }
