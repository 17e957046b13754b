#include "FieldHost.h"

#include "forms/controls/Memo.h"
#include "toolkit/testing/QtTestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

using namespace vorlu::controls;
using vorlu::controls::testing::FieldHost;

class MemoTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::pinBrazilianLocale(); }

    void enterStartsANewLine();
    void typedLettersUpperCase();
    void pastedTextUpperCase();
    void programTextKeptUntilEdited_data();
    void programTextKeptUntilEdited();
    void tabMovesOn();
    void longLinesWrapUnderAScrollBar();
    void readOnlyTakesNoTyping();
};

void MemoTest::enterStartsANewLine()
{
    FieldHost host;
    auto* memo = host.add(new Memo);
    memo->setCharCase(CharCase::Upper);
    QVERIFY(host.showActive());
    memo->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(memo, "primeira");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "segunda");
    QCOMPARE(memo->text(), QString("PRIMEIRA\r\nSEGUNDA"));
    QCOMPARE(memo->blockCount(), 2);
    QCOMPARE(QApplication::focusWidget(), memo);
}

void MemoTest::typedLettersUpperCase()
{
    FieldHost host;
    auto* memo = host.add(new Memo);
    memo->setCharCase(CharCase::Upper);
    QVERIFY(host.showActive());
    memo->setFocus(Qt::TabFocusReason);
    testing::typeText(memo, QString("alérgico a amendoim; ção"));
    QCOMPARE(memo->text(), QString("ALÉRGICO A AMENDOIM; ÇÃO"));
}

void MemoTest::pastedTextUpperCase()
{
    FieldHost host;
    auto* memo = host.add(new Memo);
    memo->setCharCase(CharCase::Upper);
    QVERIFY(host.showActive());
    memo->setFocus(Qt::TabFocusReason);
    QGuiApplication::clipboard()->setText(QString("linha um\nlinha dois"));
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo->text(), QString("LINHA UM\r\nLINHA DOIS"));
}

void MemoTest::programTextKeptUntilEdited_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("afterTyping"); // "x" typed at the end

    QTest::newRow("CR LF lines") << "Linha 1\r\nlinha 2" << "Linha 1\r\nlinha 2X";
    QTest::newRow("LF lines") << "a\nb" << "a\r\nbX";
    QTest::newRow("no-break space") << QString("a\u00a0b") << QString("a\u00a0bX");
    QTest::newRow("empty") << "" << "X";
}

void MemoTest::programTextKeptUntilEdited()
{
    QFETCH(QString, stored);
    QFETCH(QString, afterTyping);

    FieldHost host;
    auto* memo = host.add(new Memo);
    memo->setCharCase(CharCase::Upper);
    QVERIFY(host.showActive());
    memo->setText(stored);
    QCOMPARE(memo->text(), stored);
    QVERIFY(!memo->isModified());

    memo->setFocus(Qt::TabFocusReason);
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, "x");
    QVERIFY(memo->isModified());
    QCOMPARE(memo->text(), afterTyping);
}

void MemoTest::tabMovesOn()
{
    FieldHost host;
    auto* memo = host.add(new Memo);
    QVERIFY(host.showActive());
    memo->setFocus(Qt::TabFocusReason);
    int exited = 0;
    connect(memo, &Memo::exited, this, [&] { ++exited; });
    QTest::keyClick(memo, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), host.next);
    QCOMPARE(memo->text(), QString());
    QCOMPARE(exited, 1);
}

void MemoTest::longLinesWrapUnderAScrollBar()
{
    FieldHost host;
    auto* memo = host.add(new Memo);
    memo->setFixedSize(200, 60);
    QVERIFY(host.showActive());
    // The scroll bar is there before the text needs it.
    QVERIFY(memo->verticalScrollBar()->isVisible());
    memo->setText(QString(20, u'w') + " " + QString(60, u'w'));
    QCOMPARE(memo->blockCount(), 1);
    QVERIFY(memo->document()->firstBlock().layout()->lineCount() > 2);
    QVERIFY(!memo->horizontalScrollBar()->isVisible());
}

void MemoTest::readOnlyTakesNoTyping()
{
    FieldHost host;
    auto* memo = host.add(new Memo);
    memo->setText("PRONTUÁRIO");
    memo->setReadOnly(true);
    QVERIFY(host.showActive());
    memo->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(memo, "x");
    QTest::keyClick(memo, Qt::Key_Return);
    QCOMPARE(memo->text(), QString("PRONTUÁRIO"));
    QVERIFY(!memo->isModified());
}

VORLU_QTEST_MAIN(MemoTest)
#include "MemoTest.moc"
