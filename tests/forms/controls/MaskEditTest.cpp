#include "FieldHost.h"

#include "forms/controls/MaskEdit.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QApplication>
#include <QClipboard>

using namespace vorlu::controls;
using vorlu::controls::testing::BeepCounter;
using vorlu::controls::testing::FieldHost;
using vorlu::toolkit::testing::RecordingDialogs;

namespace {
// What the general error report shows: the message with a full stop.
const QString kReported = QStringLiteral("Valor de entrada inválido. Use a tecla Esc para abandonar as alterações.");

// A phone or postal code field in a shown window, with the focus moved into it by Tab.
struct MaskHost {
    explicit MaskHost(const QString& mask, const QString& programText = QString())
        : edit(host.add(new MaskEdit(mask)))
    {
        edit->setText(programText);
    }
    bool enter()
    {
        if (!host.showActive())
            return false;
        host.next->setFocus(Qt::TabFocusReason);
        QTest::keyClick(host.next, Qt::Key_Backtab, Qt::ShiftModifier);
        return QApplication::focusWidget() == edit;
    }
    FieldHost host;
    MaskEdit* edit;
};
} // namespace

class MaskEditTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::pinBrazilianLocale(); }

    void untouchedFieldReadsTheEmptyForm_data();
    void untouchedFieldReadsTheEmptyForm();
    void typing_data();
    void typing();
    void refusedCharacterBeeps();
    void backspaceAndDeleteBlankPositions();
    void cutBlanksTheSelection();
    void programTextKeepsItsPositions();
    void leavingWithAMissingDigit_data();
    void leavingWithAMissingDigit();
    void refusedExitByMouseClick();
    void escapeRestoresTheTextOnEntry();
    void escapeAfterAnEarlierChange();
    void foreignTextKeptUntilEdited();
    void readOnlyTakesNoEditing();
};

void MaskEditTest::untouchedFieldReadsTheEmptyForm_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("text");
    QTest::newRow("postal code") << MaskEdit::kPostalCodeMask << "__.___-___" << "  .   -   ";
    QTest::newRow("phone") << MaskEdit::kPhoneMask << "(__) ____-____" << "(  )     -    ";
}

void MaskEditTest::untouchedFieldReadsTheEmptyForm()
{
    QFETCH(QString, mask);
    QFETCH(QString, shown);
    QFETCH(QString, text);
    MaskEdit edit(mask);
    QCOMPARE(edit.editText(), shown);
    QCOMPARE(edit.text(), text);
    // A NULL column loads as the empty text: the same empty form.
    edit.setText(QString());
    QCOMPARE(edit.text(), text);
}

void MaskEditTest::typing_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("cursor"); // -1: the whole text selected, as on entry by Tab
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("text");

    const QString cep = MaskEdit::kPostalCodeMask;
    const QString phone = MaskEdit::kPhoneMask;
    QTest::newRow("postal code") << cep << -1 << "12345678" << "12.345-678" << "12.345-678";
    QTest::newRow("postal code typed with literals") << cep << -1 << "12.345-678" << "12.345-678" << "12.345-678";
    QTest::newRow("postal code half") << cep << -1 << "1234" << "12.34_-___" << "12.34 -   ";
    QTest::newRow("phone") << phone << -1 << "1155551234" << "(11) 5555-1234" << "(11) 5555-1234";
    QTest::newRow("phone with literals") << phone << -1 << "(11) 5555-1234" << "(11) 5555-1234" << "(11) 5555-1234";
    QTest::newRow("phone without area code") << phone << 5 << "55551234" << "(__) 5555-1234" << "(  ) 5555-1234";
    QTest::newRow("letters refused") << phone << -1 << "1a1b5555" << "(11) 5555-____" << "(11) 5555-    ";
    QTest::newRow("past the end") << cep << -1 << "123456789" << "12.345-678" << "12.345-678";
    // A click after the text puts the cursor at the end: typing starts at the first gap.
    QTest::newRow("cursor at the end") << phone << 14 << "1155551234" << "(11) 5555-1234" << "(11) 5555-1234";
}

void MaskEditTest::typing()
{
    QFETCH(QString, mask);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QString, text);

    MaskHost field(mask);
    QVERIFY(field.enter());
    if (cursor >= 0)
        field.edit->setCursorPosition(cursor);
    else
        QVERIFY(field.edit->hasSelectedText());
    QTest::keyClicks(field.edit, keys);
    QCOMPARE(field.edit->editText(), shown);
    QCOMPARE(field.edit->text(), text);
    QVERIFY(field.edit->isModified());
}

void MaskEditTest::refusedCharacterBeeps()
{
    BeepCounter beeps;
    MaskHost field(MaskEdit::kPhoneMask);
    QVERIFY(field.enter());
    QTest::keyClicks(field.edit, "1x");
    QCOMPARE(beeps.count(), 1);
    QCOMPARE(field.edit->editText(), QString("(1_) ____-____"));
    // A paste takes what fits without a sound.
    QGuiApplication::clipboard()->setText("1-2");
    QTest::keyClick(field.edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(beeps.count(), 1);
    QCOMPARE(field.edit->editText(), QString("(11) 2___-____"));
}

void MaskEditTest::backspaceAndDeleteBlankPositions()
{
    MaskHost field(MaskEdit::kPhoneMask, "(11) 5555-1234");
    QVERIFY(field.enter());
    MaskEdit* edit = field.edit;

    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->editText(), QString("(11) 5555-12__"));
    QCOMPARE(edit->cursorPosition(), 12);

    // Backspace right after the hyphen blanks the digit before it; nothing shifts.
    edit->setCursorPosition(10);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->editText(), QString("(11) 555_-12__"));

    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->editText(), QString("(_1) 555_-12__"));
    QCOMPARE(edit->text(), QString("( 1) 555 -12  "));

    // Ctrl+Z would step outside the mask; it does nothing.
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->editText(), QString("(_1) 555_-12__"));
}

void MaskEditTest::cutBlanksTheSelection()
{
    MaskHost field(MaskEdit::kPostalCodeMask, "12.345-678");
    QVERIFY(field.enter());
    field.edit->setSelection(3, 5);
    QTest::keyClick(field.edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("345-6"));
    QCOMPARE(field.edit->editText(), QString("12.___-_78"));
}

void MaskEditTest::programTextKeepsItsPositions()
{
    MaskEdit edit(MaskEdit::kPhoneMask);
    edit.setText("( 1) 5555-1234");
    QCOMPARE(edit.editText(), QString("(_1) 5555-1234"));
    QCOMPARE(edit.text(), QString("( 1) 5555-1234"));
    QVERIFY(!edit.isModified());
}

void MaskEditTest::leavingWithAMissingDigit_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("programText");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("extraKey"); // pressed after the keys; 0: none
    QTest::addColumn<int>("missingAt"); // where the cursor goes when refused; -1: not refused

    const QString cep = MaskEdit::kPostalCodeMask;
    const QString phone = MaskEdit::kPhoneMask;
    QTest::newRow("phone half typed") << phone << "" << 5 << "1234" << 0 << 10;
    QTest::newRow("phone changed to a partial number") << phone << "(11) 5555-1234" << 14 << "" << int(Qt::Key_Backspace) << 13;
    QTest::newRow("postal code half typed") << cep << "" << 0 << "1234" << 0 << 5;
    QTest::newRow("phone complete, no area code") << phone << "" << 5 << "55551234" << 0 << -1;
    QTest::newRow("postal code complete") << cep << "" << 0 << "12345678" << 0 << -1;
    // Only a change by the user is checked: a partial number as stored may be passed through.
    QTest::newRow("stored partial number untouched") << phone << "(11) 5555-    " << 0 << "" << 0 << -1;
    QTest::newRow("empty field untouched") << phone << "" << 0 << "" << 0 << -1;
    QTest::newRow("cursor keys are no change") << phone << "(11) 5555-    " << 0 << "" << int(Qt::Key_Right) << -1;
}

namespace {
// Counts the focus coming into a widget.
struct FocusInCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::FocusIn;
        return false;
    }
};
} // namespace

void MaskEditTest::leavingWithAMissingDigit()
{
    QFETCH(QString, mask);
    QFETCH(QString, programText);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    QFETCH(int, extraKey);
    QFETCH(int, missingAt);

    RecordingDialogs dialogs;
    BeepCounter beeps;
    MaskHost field(mask, programText);
    QVERIFY(field.enter());
    int exited = 0;
    int refusals = 0;
    connect(field.edit, &LineField::exited, this, [&] { ++exited; });
    connect(field.edit, &LineField::exitRefused, this, [&] { ++refusals; });
    field.edit->setCursorPosition(cursor);
    QTest::keyClicks(field.edit, keys);
    if (extraKey)
        QTest::keyClick(field.edit, Qt::Key(extraKey));
    FocusInCounter nextEntered;
    field.host.next->installEventFilter(&nextEntered);

    QTest::keyClick(field.edit, Qt::Key_Tab);
    QApplication::processEvents(); // the report comes once the focus change is over

    if (missingAt >= 0) {
        QCOMPARE(QApplication::focusWidget(), field.edit);
        QCOMPARE(field.edit->cursorPosition(), missingAt);
        QCOMPARE(beeps.count(), 1);
        QCOMPARE(exited, 0);
        QCOMPARE(refusals, 1);
        QCOMPARE(nextEntered.count, 0);
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.last().source, vorlu::toolkit::MessageSource::ErrorReport);
        QCOMPARE(dialogs.last().kind, vorlu::toolkit::mtError);
        QCOMPARE(dialogs.last().text, kReported);
        QCOMPARE(dialogs.last().title, QString("Vorlu - Módulo Secretária"));
    } else {
        QCOMPARE(QApplication::focusWidget(), field.host.next);
        QCOMPARE(beeps.count(), 0);
        QCOMPARE(exited, 1);
        QCOMPARE(refusals, 0);
        QVERIFY(dialogs.isEmpty());
    }
}

void MaskEditTest::refusedExitByMouseClick()
{
    RecordingDialogs dialogs;
    MaskHost field(MaskEdit::kPhoneMask);
    QVERIFY(field.enter());
    field.edit->setCursorPosition(5);
    QTest::keyClicks(field.edit, "55");
    QTest::mouseClick(field.host.next, Qt::LeftButton);
    QApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), field.edit);
    QCOMPARE(dialogs.texts(), QStringList{kReported});

    // Completing the number lets the focus go.
    QTest::keyClicks(field.edit, "551234");
    QTest::mouseClick(field.host.next, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), field.host.next);
    QCOMPARE(field.edit->text(), QString("(  ) 5555-1234"));
}

void MaskEditTest::escapeRestoresTheTextOnEntry()
{
    RecordingDialogs dialogs;
    MaskHost field(MaskEdit::kPhoneMask, "(11) 5555-1234");
    QVERIFY(field.enter());
    field.edit->end(false);
    QTest::keyClick(field.edit, Qt::Key_Backspace);
    QTest::keyClick(field.edit, Qt::Key_Tab);
    QApplication::processEvents();
    QCOMPARE(dialogs.count(), 1);

    QTest::keyClick(field.edit, Qt::Key_Escape);
    QCOMPARE(field.edit->text(), QString("(11) 5555-1234"));
    QVERIFY(!field.edit->isModified());
    QTest::keyClick(field.edit, Qt::Key_Tab);
    QApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), field.host.next);
    QCOMPARE(dialogs.count(), 1);
}

void MaskEditTest::escapeAfterAnEarlierChange()
{
    MaskHost field(MaskEdit::kPhoneMask, "(11) 5555-1234");
    QVERIFY(field.enter());
    QTest::keyClicks(field.edit, "2233334444");
    QTest::keyClick(field.edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), field.host.next);

    // Entered again: Esc goes back to the text of this entry, not to the stored one.
    QTest::keyClick(field.host.next, Qt::Key_Backtab, Qt::ShiftModifier);
    field.edit->end(false);
    QTest::keyClick(field.edit, Qt::Key_Backspace);
    QTest::keyClick(field.edit, Qt::Key_Escape);
    QCOMPARE(field.edit->text(), QString("(22) 3333-4444"));
}

void MaskEditTest::foreignTextKeptUntilEdited()
{
    RecordingDialogs dialogs;
    MaskHost field(MaskEdit::kPhoneMask, "11 5555-1234");
    QCOMPARE(field.edit->editText(), QString("11 5555-1234"));
    QCOMPARE(field.edit->text(), QString("11 5555-1234"));
    QVERIFY(field.enter());
    QTest::keyClick(field.edit, Qt::Key_Tab);
    QCOMPARE(field.edit->text(), QString("11 5555-1234"));
    QVERIFY(dialogs.isEmpty());

    // The first edit puts what can be kept into the mask.
    QTest::keyClick(field.host.next, Qt::Key_Backtab, Qt::ShiftModifier);
    field.edit->end(false);
    QTest::keyClick(field.edit, Qt::Key_Backspace);
    QCOMPARE(field.edit->editText(), QString("(11) 5555-123_"));
}

void MaskEditTest::readOnlyTakesNoEditing()
{
    RecordingDialogs dialogs;
    MaskHost field(MaskEdit::kPostalCodeMask, "12.345-678");
    field.edit->setReadOnly(true);
    QVERIFY(field.enter());
    QTest::keyClicks(field.edit, "9");
    QTest::keyClick(field.edit, Qt::Key_Backspace);
    QTest::keyClick(field.edit, Qt::Key_Delete);
    QTest::keyClick(field.edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(field.edit->text(), QString("12.345-678"));
    QVERIFY(!field.edit->isModified());
    QTest::keyClick(field.edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), field.host.next);
}

VORLU_QTEST_MAIN(MaskEditTest)
#include "MaskEditTest.moc"
