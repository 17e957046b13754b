#pragma once

#include "toolkit/Application.h"

#include <QTest>

// Like QTEST_MAIN, but on the program's own application object, so that an exception escaping
// a handler reaches the general error report as it does in the program.
#define VORLU_QTEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        vorlu::toolkit::VorluApplication app(argc, argv);                                          \
        vorlu::toolkit::VorluApplication::setTitle(QStringLiteral("Vorlu - Módulo Secretária"));   \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
