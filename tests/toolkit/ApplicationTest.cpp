#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/FormGlobal.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <stdexcept>

// Each test function ends the event loop for good (Terminate is final, as in the program), so
// CTest runs each one in a process of its own.

using namespace vorlu::toolkit;
using vorlu::toolkit::testing::RecordingDialogs;

namespace {

QStringList events;

class TfrmMain : public TForm {
public:
    std::function<void()> onShow;

    TfrmMain() { setWindowTitle(QStringLiteral("Módulo Secretária - Cadastro e Manutenção de Pacientes")); }

protected:
    void FormShow() override
    {
        events << "main show";
        if (onShow)
            onShow();
    }
    TCloseAction FormClose(TCloseAction) override { return caFree; }
    void FormDestroy() override { events << "main destroy"; }
};

class TfrmOther : public TForm {
protected:
    TCloseAction FormClose(TCloseAction) override { return caFree; }
    void FormDestroy() override { events << "other destroy"; }
};

FormGlobal<TfrmMain> frmMain;
FormGlobal<TfrmOther> frmOther;

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void titleReachesTaskbarNotCaptions();
    void closingMainFormEndsRun();
    void terminateInShowHandlerSkipsTheLoop();
    void terminateEndsModalWait();
};

void ApplicationTest::titleReachesTaskbarNotCaptions()
{
    const QString title = QStringLiteral("Vorlu - Módulo Secretária");
    QCOMPARE(VorluApplication::title(), title);
    // A display name would be appended to every caption on X11.
    QVERIFY(QGuiApplication::applicationDisplayName() != title);

    TfrmMain form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QString caption = QStringLiteral("Módulo Secretária - Cadastro e Manutenção de Pacientes");
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(form.windowHandle()->title(), caption);
    QCOMPARE(form.windowIconText(), title);

    VorluApplication::setTitle(QStringLiteral("Outro título"));
    QCOMPARE(form.windowIconText(), QStringLiteral("Outro título"));
    QCOMPARE(form.windowTitle(), caption);
    VorluApplication::setTitle(title);
}

void ApplicationTest::closingMainFormEndsRun()
{
    RecordingDialogs dialogs;
    auto* app = VorluApplication::instance();
    QVERIFY(app);
    frmMain.ensure();
    app->setMainForm(frmMain.get());
    frmOther.ensure(); // alive but never shown: freed when the program ends

    bool loopRan = false;
    QTimer::singleShot(0, [&] {
        loopRan = true;
        throw std::runtime_error("Falha no meio"); // reported; the loop goes on
    });
    QTimer::singleShot(10, [] { frmMain->close(); });
    QCOMPARE(app->Run(), 0);

    QVERIFY(loopRan);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Falha no meio.")});
    QVERIFY(frmMain.isEmpty());
    QVERIFY(frmOther.isEmpty());
    QCOMPARE(events, (QStringList{"main show", "main destroy", "other destroy"}));
    QVERIFY(TForm::forms().isEmpty());
}

void ApplicationTest::terminateInShowHandlerSkipsTheLoop()
{
    auto* app = VorluApplication::instance();
    frmMain.ensure();
    frmMain->onShow = [] { VorluApplication::Terminate(); };
    app->setMainForm(frmMain.get());
    bool loopRan = false;
    QTimer::singleShot(0, [&] { loopRan = true; });
    QCOMPARE(app->Run(), 0);
    QVERIFY(!loopRan);
    QVERIFY(frmMain.isEmpty());
    QCOMPARE(events, (QStringList{"main show", "main destroy"}));
}

void ApplicationTest::terminateEndsModalWait()
{
    auto* app = VorluApplication::instance();
    frmMain.ensure();
    int modalResult = -1;
    bool otherAliveAfterWait = false;
    // The failure road's shape: a modal dialog during the main window's show handler.
    frmMain->onShow = [&] {
        frmOther.ensure();
        QTimer::singleShot(0, [] { VorluApplication::Terminate(); });
        modalResult = frmOther->ShowModal();
        otherAliveAfterWait = bool(frmOther);
    };
    app->setMainForm(frmMain.get());
    QCOMPARE(app->Run(), 0);
    QCOMPARE(modalResult, mrCancel);
    QVERIFY(otherAliveAfterWait);
    QVERIFY(frmOther.isEmpty());
    QVERIFY(frmMain.isEmpty());
    QCOMPARE(events, (QStringList{"main show", "other destroy", "main destroy"}));
}

VORLU_QTEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
