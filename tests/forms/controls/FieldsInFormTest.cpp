#include "FieldHost.h"

#include "forms/controls/DateEdit.h"
#include "forms/controls/IntegerEdit.h"
#include "forms/controls/MaskEdit.h"
#include "forms/controls/Memo.h"
#include "forms/controls/PickList.h"
#include "forms/controls/PickLists.h"
#include "forms/controls/TextEdit.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/testing/ModalDriver.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QVBoxLayout>

using namespace vorlu::controls;
using namespace vorlu::toolkit;
using vorlu::toolkit::testing::RecordingDialogs;

namespace {

// A window that turns Enter into Tab, holding one field of each kind in tab order.
class FieldsForm : public TForm {
public:
    FieldsForm()
    {
        setEnterAsTab(true);
        auto* layout = new QVBoxLayout(this);
        for (QWidget* field : std::initializer_list<QWidget*>{code, name, sex, birth, weight, phone, obs, last})
            layout->addWidget(field);
        setTag(code, kTagKeepsEnter);
        setTag(obs, kTagKeepsEnter);
        sex->setItems(sexItems());
        obs->setCharCase(CharCase::Upper);
        resize(300, 400);
    }
    bool showActive()
    {
        show();
        activateWindow();
        return QTest::qWaitForWindowActive(this);
    }

    IntegerEdit* code = new IntegerEdit;
    TextEdit* name = new TextEdit;
    PickList* sex = new PickList;
    DateEdit* birth = new DateEdit;
    IntegerEdit* weight = new IntegerEdit;
    MaskEdit* phone = new MaskEdit(MaskEdit::kPhoneMask);
    Memo* obs = new Memo;
    TextEdit* last = new TextEdit;
};

} // namespace

class FieldsInFormTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vorlu::controls::testing::pinBrazilianLocale(); }

    void enterMovesThroughEveryKind();
    void enterReachesAFieldThatKeepsIt();
    void keyDownHandlerCanSwallowAKey();
    void partialPhoneKeepsTheFocusAgainstEnter();
    void realMessageBoxIsNoExit();
    void realErrorReportAfterARefusedExit();
};

void FieldsInFormTest::enterMovesThroughEveryKind()
{
    FieldsForm form;
    QVERIFY(form.showActive());
    form.name->setFocus(Qt::TabFocusReason);
    const QList<QWidget*> order{form.sex, form.birth, form.weight, form.phone, form.obs};
    for (QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), expected);
    }
    // The memo uses Enter itself: a new line.
    QTest::keyClicks(form.obs, "a");
    QTest::keyClick(form.obs, Qt::Key_Return);
    QTest::keyClicks(form.obs, "b");
    QCOMPARE(QApplication::focusWidget(), form.obs);
    QCOMPARE(form.obs->text(), QString("A\r\nB"));

    // Shift+Enter goes back.
    form.birth->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form.birth, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), form.sex);
    QTest::keyClick(form.sex, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), form.name);
}

void FieldsInFormTest::enterReachesAFieldThatKeepsIt()
{
    FieldsForm form;
    QVERIFY(form.showActive());
    QList<int> keys;
    connect(form.code, &LineField::keyDown, this, [&](QKeyEvent* key) { keys << key->key(); });
    form.code->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form.code, "41");
    QTest::keyClick(form.code, Qt::Key_Return);
    QCOMPARE(keys, (QList<int>{Qt::Key_4, Qt::Key_1, Qt::Key_Return}));
    QCOMPARE(QApplication::focusWidget(), form.code);
    QCOMPARE(form.code->value(), 41);

    // With Tag 0 the same field moves on, and its handler never sees the Enter.
    keys.clear();
    setTag(form.code, 0);
    QTest::keyClick(form.code, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), form.name);
    QVERIFY(keys.isEmpty());
}

void FieldsInFormTest::keyDownHandlerCanSwallowAKey()
{
    FieldsForm form;
    QVERIFY(form.showActive());
    connect(form.code, &LineField::keyDown, this, [](QKeyEvent* key) {
        if (key->key() == Qt::Key_5)
            key->accept();
    });
    form.code->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form.code, "456");
    QCOMPARE(form.code->text(), QString("46"));
}

void FieldsInFormTest::partialPhoneKeepsTheFocusAgainstEnter()
{
    RecordingDialogs dialogs;
    FieldsForm form;
    QVERIFY(form.showActive());
    form.phone->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form.phone, "1155");
    QTest::keyClick(form.phone, Qt::Key_Return);
    QApplication::processEvents();
    QCOMPARE(QApplication::focusWidget(), form.phone);
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().text, MaskEdit::kInvalidInputMessage + ".");
}

void FieldsInFormTest::realMessageBoxIsNoExit()
{
    FieldsForm form;
    QVERIFY(form.showActive());
    form.birth->setFocus(Qt::TabFocusReason);
    int entered = 0;
    int exited = 0;
    connect(form.birth, &LineField::entered, this, [&] { ++entered; });
    connect(form.birth, &LineField::exited, this, [&] { ++exited; });

    bool opened = false;
    vorlu::toolkit::testing::whenModalOpens([&](QWidget* box) {
        opened = QTest::qWaitForWindowActive(box);
        vorlu::toolkit::testing::pressKey(box, Qt::Key_Return);
    });
    QCOMPARE(MessageDlg("Aviso", mtInformation, mbOK), mrOk);
    QVERIFY(opened);
    // What the window manager does once the box is gone.
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.birth);
    QCOMPARE(entered, 0);
    QCOMPARE(exited, 0);

    QTest::keyClick(form.birth, Qt::Key_Tab);
    QCOMPARE(exited, 1);
}

void FieldsInFormTest::realErrorReportAfterARefusedExit()
{
    FieldsForm form;
    QVERIFY(form.showActive());
    form.phone->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(form.phone, "1155");

    QStringList shown;
    auto answer = [&](QWidget* box) {
        (void)QTest::qWaitForWindowActive(box);
        if (auto* message = qobject_cast<QMessageBox*>(box))
            shown << message->text();
        vorlu::toolkit::testing::pressKey(box, Qt::Key_Return);
    };
    vorlu::toolkit::testing::whenModalOpens(answer);
    QTest::keyClick(form.phone, Qt::Key_Tab);
    QTRY_COMPARE(shown.size(), 1);
    QCOMPARE(shown.first(), MaskEdit::kInvalidInputMessage + ".");
    QTRY_VERIFY(!QApplication::activeModalWidget());
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.phone);

    // The window coming back after the box is no new attempt to leave: no second report.
    vorlu::toolkit::testing::whenModalOpens(answer, 300);
    QTest::qWait(400);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(QApplication::focusWidget(), form.phone);
}

VORLU_QTEST_MAIN(FieldsInFormTest)
#include "FieldsInFormTest.moc"
