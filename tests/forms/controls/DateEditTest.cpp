#include "FieldHost.h"

#include "forms/controls/DateEdit.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QToolButton>

using namespace vorlu::controls;
using vorlu::controls::testing::BeepCounter;
using vorlu::controls::testing::FieldHost;
using vorlu::toolkit::testing::RecordingDialogs;

namespace {
// Days since 30 December 1899.
constexpr double k15Mar2024 = 45366;
constexpr double k29Feb2000 = 36585;
} // namespace

class DateEditTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::pinBrazilianLocale(); }
    void cleanup() { testing::pinBrazilianLocale(); }

    void typedDate_data();
    void typedDate();
    void settingADate_data();
    void settingADate();
    void leavingAnIncompleteDateIsAllowed();
    void orderOfTheSystemsShortDateFormat();
    void calendarChoosesADay();
    void calendarEscapeLeavesTheDate();
    void calendarOnAnEmptyFieldShowsToday();
    void readOnlyFieldDropsNothingDown();
};

void DateEditTest::typedDate_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("date");

    QTest::newRow("date") << "15032024" << "15/03/2024" << k15Mar2024;
    QTest::newRow("typed with the separators") << "15/03/2024" << "15/03/2024" << k15Mar2024;
    QTest::newRow("leap day") << "29022000" << "29/02/2000" << k29Feb2000;
    QTest::newRow("impossible day") << "31022000" << "31/02/2000" << 0.0;
    QTest::newRow("no leap day in 1900") << "29021900" << "29/02/1900" << 0.0;
    QTest::newRow("month 13") << "01132000" << "01/13/2000" << 0.0;
    QTest::newRow("incomplete year") << "1503202" << "15/03/202_" << 0.0;
    QTest::newRow("day only") << "15" << "15/__/____" << 0.0;
    QTest::newRow("letters refused") << "15a03b2024" << "15/03/2024" << k15Mar2024;
}

void DateEditTest::typedDate()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(double, date);

    FieldHost host;
    auto* edit = host.add(new DateEdit);
    QVERIFY(host.showActive());
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, keys);
    QCOMPARE(edit->editText(), shown);
    QCOMPARE(edit->date(), date);
}

void DateEditTest::settingADate_data()
{
    QTest::addColumn<double>("date");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<double>("readBack");

    QTest::newRow("no date shows empty") << 0.0 << "__/__/____" << 0.0;
    QTest::newRow("date") << k15Mar2024 << "15/03/2024" << k15Mar2024;
    QTest::newRow("time of day dropped") << k15Mar2024 + 0.75 << "15/03/2024" << k15Mar2024;
    QTest::newRow("before day 0") << -1.5 << "29/12/1899" << -1.0;
    QTest::newRow("year 1") << -693593.0 << "01/01/0001" << -693593.0;
}

void DateEditTest::settingADate()
{
    QFETCH(double, date);
    QFETCH(QString, shown);
    QFETCH(double, readBack);

    DateEdit edit;
    edit.setDate(k15Mar2024);
    edit.setDate(date);
    QCOMPARE(edit.editText(), shown);
    QCOMPARE(edit.date(), readBack);
    QVERIFY(!edit.isModified());
    if (date == 0)
        QCOMPARE(edit.text(), QString("  /  /    "));
}

void DateEditTest::leavingAnIncompleteDateIsAllowed()
{
    RecordingDialogs dialogs;
    BeepCounter beeps;
    FieldHost host;
    auto* edit = host.add(new DateEdit);
    QVERIFY(host.showActive());
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, "150");
    QTest::keyClick(edit, Qt::Key_Tab);
    QApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), host.next);
    QVERIFY(dialogs.isEmpty());
    QCOMPARE(beeps.count(), 0);
    QCOMPARE(edit->date(), 0.0);
}

void DateEditTest::orderOfTheSystemsShortDateFormat()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    FieldHost host;
    auto* edit = host.add(new DateEdit);
    QVERIFY(host.showActive());
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, "03152024");
    QCOMPARE(edit->editText(), QString("03/15/2024"));
    QCOMPARE(edit->date(), k15Mar2024);
    edit->setDate(k29Feb2000);
    QCOMPARE(edit->editText(), QString("02/29/2000"));
}

void DateEditTest::calendarChoosesADay()
{
    FieldHost host;
    auto* edit = host.add(new DateEdit);
    QVERIFY(host.showActive());
    edit->setDate(k15Mar2024);
    edit->setFocus(Qt::TabFocusReason);
    int exited = 0;
    int entered = 0;
    connect(edit, &LineField::exited, this, [&] { ++exited; });
    connect(edit, &LineField::entered, this, [&] { ++entered; });

    QTest::mouseClick(edit->calendarButton(), Qt::LeftButton);
    QVERIFY(edit->isCalendarVisible());
    QCOMPARE(edit->calendar()->selectedDate(), QDate(2024, 3, 15));

    QWidget* days = QApplication::focusWidget();
    QVERIFY(days && edit->calendar()->isAncestorOf(days));
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Return);
    QVERIFY(!edit->isCalendarVisible());
    QCOMPARE(edit->date(), k15Mar2024 + 1);
    QVERIFY(edit->isModified());

    // The drop-down was neither an exit nor a new entry.
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(exited, 0);
    QCOMPARE(entered, 0);

    // Alt+Down drops it down from the keyboard.
    QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(edit->isCalendarVisible());
    QCOMPARE(edit->calendar()->selectedDate(), QDate(2024, 3, 16));
}

void DateEditTest::calendarEscapeLeavesTheDate()
{
    FieldHost host;
    auto* edit = host.add(new DateEdit);
    QVERIFY(host.showActive());
    edit->setDate(k15Mar2024);
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_F4);
    QVERIFY(edit->isCalendarVisible());
    QWidget* days = QApplication::focusWidget();
    QVERIFY(days);
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Escape);
    QVERIFY(!edit->isCalendarVisible());
    QCOMPARE(edit->date(), k15Mar2024);
    QVERIFY(!edit->isModified());
}

void DateEditTest::calendarOnAnEmptyFieldShowsToday()
{
    FieldHost host;
    auto* edit = host.add(new DateEdit);
    QVERIFY(host.showActive());
    edit->setFocus(Qt::TabFocusReason);
    edit->showCalendar();
    QVERIFY(edit->isCalendarVisible());
    QCOMPARE(edit->calendar()->selectedDate(), QDate::currentDate());
}

void DateEditTest::readOnlyFieldDropsNothingDown()
{
    FieldHost host;
    auto* edit = host.add(new DateEdit);
    QVERIFY(host.showActive());
    edit->setDate(k15Mar2024);
    edit->setReadOnly(true);
    QVERIFY(!edit->calendarButton()->isEnabled());
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_F4);
    edit->showCalendar();
    QVERIFY(!edit->isCalendarVisible());
    QTest::keyClicks(edit, "01012000");
    QCOMPARE(edit->date(), k15Mar2024);

    edit->setReadOnly(false);
    QVERIFY(edit->calendarButton()->isEnabled());
}

VORLU_QTEST_MAIN(DateEditTest)
#include "DateEditTest.moc"
