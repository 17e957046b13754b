#include "FieldHost.h"

#include "forms/controls/TextEdit.h"
#include "toolkit/testing/QtTestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>

using namespace vorlu::controls;
using vorlu::controls::testing::FieldHost;

Q_DECLARE_METATYPE(vorlu::controls::CharCase)

class TextEditTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::pinBrazilianLocale(); }

    void typedLettersConverted_data();
    void typedLettersConverted();
    void programTextKeptAsGiven();
    void pastedTextConverted();
    void inputMethodTextConverted();
    void enterAndExitSignals();
};

void TextEditTest::typedLettersConverted_data()
{
    QTest::addColumn<CharCase>("charCase");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");

    QTest::newRow("name upper") << CharCase::Upper << "maria da silva" << "MARIA DA SILVA";
    QTest::newRow("accents upper") << CharCase::Upper << QString("joão conceição") << QString("JOÃO CONCEIÇÃO");
    QTest::newRow("apostrophe kept") << CharCase::Upper << "d'oeste 12" << "D'OESTE 12";
    QTest::newRow("sharp s stays one letter") << CharCase::Upper << QString("straße") << QString("STRAßE");
    QTest::newRow("e-mail lower") << CharCase::Lower << "Maria@Exemplo.COM" << "maria@exemplo.com";
    QTest::newRow("normal") << CharCase::Normal << "Maria" << "Maria";
}

void TextEditTest::typedLettersConverted()
{
    QFETCH(CharCase, charCase);
    QFETCH(QString, keys);
    QFETCH(QString, text);

    FieldHost host;
    auto* edit = host.add(new TextEdit);
    edit->setCharCase(charCase);
    QVERIFY(host.showActive());
    edit->setFocus();
    testing::typeText(edit, keys);
    QCOMPARE(edit->text(), text);
}

void TextEditTest::programTextKeptAsGiven()
{
    FieldHost host;
    auto* edit = host.add(new TextEdit);
    edit->setCharCase(CharCase::Upper);
    QVERIFY(host.showActive());
    edit->setText("Maria");
    QCOMPARE(edit->text(), QString("Maria"));
    // Typing converts only what is typed.
    edit->setFocus();
    edit->end(false);
    QTest::keyClicks(edit, " x");
    QCOMPARE(edit->text(), QString("Maria X"));
}

void TextEditTest::pastedTextConverted()
{
    FieldHost host;
    auto* edit = host.add(new TextEdit);
    edit->setCharCase(CharCase::Upper);
    QVERIFY(host.showActive());
    edit->setFocus();
    QGuiApplication::clipboard()->setText(QString("são paulo"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString("SÃO PAULO"));
}

void TextEditTest::inputMethodTextConverted()
{
    FieldHost host;
    auto* edit = host.add(new TextEdit);
    edit->setCharCase(CharCase::Upper);
    QVERIFY(host.showActive());
    edit->setFocus();
    // A dead key then a letter: the input method composes and commits "é".
    QInputMethodEvent compose(QString("´"), {});
    QApplication::sendEvent(edit, &compose);
    QInputMethodEvent commit;
    commit.setCommitString(QString("é"));
    QApplication::sendEvent(edit, &commit);
    QCOMPARE(edit->text(), QString("É"));
}

void TextEditTest::enterAndExitSignals()
{
    FieldHost host;
    auto* edit = host.add(new TextEdit);
    QVERIFY(host.showActive());
    host.next->setFocus(Qt::TabFocusReason);
    int entered = 0;
    int exited = 0;
    connect(edit, &LineField::entered, this, [&] { ++entered; });
    connect(edit, &LineField::exited, this, [&] { ++exited; });

    QTest::keyClick(host.next, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(entered, 1);
    QVERIFY(edit->isInside());

    // The window losing and regaining activation is neither an exit nor an entry.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(edit, &out);
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(edit, &in);
    QCOMPARE(entered, 1);
    QCOMPARE(exited, 0);

    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), host.next);
    QCOMPARE(exited, 1);
    QVERIFY(!edit->isInside());
}

VORLU_QTEST_MAIN(TextEditTest)
#include "TextEditTest.moc"
