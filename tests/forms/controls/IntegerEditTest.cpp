#include "FieldHost.h"

#include "forms/controls/IntegerEdit.h"
#include "toolkit/testing/QtTestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

using namespace vorlu::controls;
using vorlu::controls::testing::FieldHost;

class IntegerEditTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::pinBrazilianLocale(); }

    void typing_data();
    void typing();
    void backspacePasses();
    void programTextPassesTheFilter_data();
    void programTextPassesTheFilter();
    void pasteIsFiltered();
    void contextMenuPasteIsFiltered();
    void readOnlyTakesNoTyping();
    void fractionalNumberIsKeptUntilEdited();
    void wholeNumberShowsAsDigits();
};

void IntegerEditTest::typing_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("cursor"); // -1: at the end
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    QTest::newRow("letters dropped") << "" << -1 << "7a2" << "72" << 72;
    QTest::newRow("leading minus") << "" << -1 << "-5" << "-5" << -5;
    QTest::newRow("leading plus") << "" << -1 << "+5" << "+5" << 5;
    QTest::newRow("sign after a digit") << "" << -1 << "5-" << "5" << 5;
    QTest::newRow("second sign") << "" << -1 << "+-3" << "+3" << 3;
    QTest::newRow("sign alone") << "" << -1 << "-" << "-" << 0;
    QTest::newRow("decimal comma dropped") << "" << -1 << "72,5" << "725" << 725;
    QTest::newRow("sign typed in front") << "12" << 0 << "-" << "-12" << -12;
    QTest::newRow("sign in the middle") << "12" << 1 << "-" << "12" << 12;
    QTest::newRow("sign when one is there") << "-12" << 0 << "+" << "-12" << -12;
    // Digits pass anywhere, even in front of the sign; such a text is no number.
    QTest::newRow("digit before the sign") << "-12" << 0 << "5" << "5-12" << 0;
    QTest::newRow("too large for a code") << "" << -1 << "2147483648" << "2147483648" << 0;
    QTest::newRow("largest") << "" << -1 << "2147483647" << "2147483647" << 2147483647;
}

void IntegerEditTest::typing()
{
    QFETCH(QString, initial);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, value);

    FieldHost host;
    auto* edit = host.add(new IntegerEdit);
    QVERIFY(host.showActive());
    edit->setText(initial);
    edit->setFocus();
    edit->setCursorPosition(cursor < 0 ? int(initial.size()) : cursor);
    QTest::keyClicks(edit, keys);
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->value(), value);
}

void IntegerEditTest::backspacePasses()
{
    FieldHost host;
    auto* edit = host.add(new IntegerEdit);
    QVERIFY(host.showActive());
    edit->setFocus();
    QTest::keyClicks(edit, "-72");
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString("-7"));
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->value(), 7);
}

void IntegerEditTest::programTextPassesTheFilter_data()
{
    QTest::addColumn<bool>("zeroEmpty");
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("shown");

    QTest::newRow("stored weight 72") << true << "72" << "72";
    QTest::newRow("fraction through the filter") << true << "72,5" << "725";
    QTest::newRow("trailing sign") << true << "5-" << "5";
    QTest::newRow("zero empty") << true << "0" << "";
    QTest::newRow("zeros empty") << true << "00" << "";
    QTest::newRow("sign alone empty") << true << "-" << "";
    QTest::newRow("empty") << true << "" << "";
    QTest::newRow("zero shown without ZeroEmpty") << false << "0" << "0";
    QTest::newRow("negative age") << true << "-1" << "-1";
}

void IntegerEditTest::programTextPassesTheFilter()
{
    QFETCH(bool, zeroEmpty);
    QFETCH(QString, set);
    QFETCH(QString, shown);

    IntegerEdit edit;
    edit.setZeroEmpty(zeroEmpty);
    edit.setText(set);
    QCOMPARE(edit.text(), shown);
    QVERIFY(!edit.isModified());
}

void IntegerEditTest::pasteIsFiltered()
{
    FieldHost host;
    auto* edit = host.add(new IntegerEdit);
    QVERIFY(host.showActive());
    edit->setFocus();
    QGuiApplication::clipboard()->setText("7a2,5-");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString("725"));
    QVERIFY(edit->isModified());
}

void IntegerEditTest::contextMenuPasteIsFiltered()
{
    FieldHost host;
    auto* edit = host.add(new IntegerEdit);
    QVERIFY(host.showActive());
    edit->setFocus();
    QGuiApplication::clipboard()->setText("-1,5");

    bool pasted = false;
    QTimer::singleShot(50, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        if (QAction* paste = standardMenuAction(*menu, "edit-paste", "&Paste")) {
            paste->trigger();
            pasted = true;
        }
        menu->close();
    });
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(2, 2), edit->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(edit, &menuEvent);
    QVERIFY(pasted);
    QCOMPARE(edit->text(), QString("-15"));
}

void IntegerEditTest::readOnlyTakesNoTyping()
{
    FieldHost host;
    auto* edit = host.add(new IntegerEdit);
    QVERIFY(host.showActive());
    edit->setText("41");
    edit->setReadOnly(true);
    edit->setFocus();
    QTest::keyClicks(edit, "5");
    QGuiApplication::clipboard()->setText("9");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString("41"));
}

void IntegerEditTest::fractionalNumberIsKeptUntilEdited()
{
    FieldHost host;
    auto* edit = host.add(new IntegerEdit);
    edit->setZeroEmpty(true);
    QVERIFY(host.showActive());

    edit->setNumber(72.5);
    QCOMPARE(edit->text(), QString("72,5"));
    QVERIFY(edit->holdsFraction());
    QCOMPARE(edit->number(), 72.5);

    // Passing through the field changes nothing.
    edit->setFocus(Qt::TabFocusReason);
    host.next->setFocus(Qt::TabFocusReason);
    QVERIFY(edit->holdsFraction());
    QCOMPARE(edit->number(), 72.5);

    // A new weight typed by the user replaces it.
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, "80");
    QCOMPARE(edit->text(), QString("80"));
    QVERIFY(!edit->holdsFraction());
    QCOMPARE(edit->number(), 80.0);

    // The next load forgets the fraction.
    edit->setNumber(72.5);
    edit->setText("72");
    QVERIFY(!edit->holdsFraction());
    QCOMPARE(edit->number(), 72.0);
}

void IntegerEditTest::wholeNumberShowsAsDigits()
{
    IntegerEdit edit;
    edit.setZeroEmpty(true);
    edit.setNumber(72.0);
    QCOMPARE(edit.text(), QString("72"));
    QVERIFY(!edit.holdsFraction());
    edit.setNumber(0.0);
    QCOMPARE(edit.text(), QString());
    QCOMPARE(edit.number(), 0.0);
}

VORLU_QTEST_MAIN(IntegerEditTest)
#include "IntegerEditTest.moc"
