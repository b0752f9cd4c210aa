// A test main that ends the process without running static destructors. Qt Multimedia 6.4 can
// deadlock at exit in its sample cache's destructor while a sound is still being decoded on its
// loader thread; the game never meets it, since its close step ends the process the same way.
#pragma once

#include <QCoreApplication>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#define KELO_QUICK_EXIT_TEST_MAIN(TestClass)                \
    int main(int argc, char* argv[]) {                      \
        QCoreApplication app(argc, argv);                   \
        TestClass test;                                     \
        QTEST_SET_MAIN_SOURCE_PATH                          \
        const int result = QTest::qExec(&test, argc, argv); \
        std::fflush(nullptr);                               \
        std::_Exit(result);                                 \
    }
