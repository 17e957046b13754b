// The program entry and the real end of the program: each test function runs the event loop
// as the program does, so CTest runs each one in a process of its own.

#include "StartupTestSupport.h"
#include "TestDatabase.h"

#include "forms/untBD.h"
#include "forms/untPaciente.h"
#include "startup/Program.h"
#include "toolkit/Application.h"
#include "toolkit/testing/ModalDriver.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <memory>
#include <sstream>

using namespace vorlu;
using forms::frmPaciente;
using forms::TfrmBD;
using toolkit::VorluApplication;
using toolkit::testing::RecordingDialogs;
using toolkit::testing::whenModalOpens;

namespace {

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The program's own entry steps, with the splash pause left out.
forms::TfrmPaciente* prepare()
{
    forms::TfrmPaciente* screen = startup::prepareProgram(*VorluApplication::instance());
    screen->startupSequence().setSplashPause(std::chrono::milliseconds(0));
    return screen;
}

} // namespace

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void entryCreatesOnlyTheMainWindow();
    void firstRunEndsTheProgram();
    void cancelEndsTheProgram();
    void closingWithYesEndsTheProgram();

private:
    std::unique_ptr<testing::TempSettings> settings_;
    std::unique_ptr<RecordingDialogs> dialogs_;
};

void ProgramTest::init()
{
    settings_ = std::make_unique<testing::TempSettings>();
    dialogs_ = std::make_unique<RecordingDialogs>();
}

void ProgramTest::cleanup()
{
    dialogs_.reset();
    settings_.reset();
}

void ProgramTest::entryCreatesOnlyTheMainWindow()
{
    VorluApplication::setTitle(QString());
    forms::TfrmPaciente* screen = prepare();

    QCOMPARE(VorluApplication::title(), QStringLiteral("Vorlu - Módulo Secretária"));
    // On X11 a display name would be appended to every window caption.
    QVERIFY(!QGuiApplication::applicationDisplayName().contains(VorluApplication::title()));
    QCOMPARE(VorluApplication::instance()->mainForm(), screen);
    QCOMPARE(frmPaciente.get(), screen);
    QCOMPARE(toolkit::TForm::forms(), QList<toolkit::TForm*>{screen});
    QVERIFY(!screen->isVisible());
    QCOMPARE(screen->windowTitle(), QStringLiteral("Módulo Secretária - Cadastro e Manutenção de Pacientes"));
    // Browse mode, nothing connected yet: the show handler does that.
    QVERIFY(!screen->btnConfirmar->isEnabled());
    QVERIFY(screen->btnFechar->isEnabled());
    QVERIFY(!screen->BancoDeDados.connected());
    screen->Free();
    QVERIFY(frmPaciente.isEmpty());
}

void ProgramTest::firstRunEndsTheProgram()
{
    testing::TempDatabase database;
    prepare();
    bool dialogOpened = false;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<TfrmBD*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        dialogOpened = true;
        dialog->txtCaminho->setText(QString::fromStdString(database.location()));
        dialog->Sim->click();
    });
    // Returning at all means the end was asked for: otherwise the loop would run on.
    QCOMPARE(VorluApplication::instance()->Run(), 0);

    QVERIFY(dialogOpened);
    QVERIFY(frmPaciente.isEmpty());
    QVERIFY(toolkit::TForm::forms().isEmpty());
    QCOMPARE(testing::storedText("CaminhoBD"), std::optional(database.location()));
    QCOMPARE(dialogs_->texts(),
             QStringList{QStringLiteral(
                 "O caminho do Banco de Dados foi Configurado com Sucesso, entre novamente no Programa para Utilizá-lo")});
}

void ProgramTest::cancelEndsTheProgram()
{
    prepare();
    bool dialogOpened = false;
    whenModalOpens([&](QWidget* modal) {
        dialogOpened = qobject_cast<TfrmBD*>(modal) != nullptr;
        if (auto* dialog = qobject_cast<TfrmBD*>(modal))
            dialog->Nao->click();
        else
            modal->close();
    });
    // Returning at all means the end was asked for: otherwise the loop would run on.
    QCOMPARE(VorluApplication::instance()->Run(), 0);

    QVERIFY(dialogOpened);
    QVERIFY(frmPaciente.isEmpty());
    QVERIFY(dialogs_->isEmpty());
    QVERIFY(!testing::settingsKeyExists());
}

void ProgramTest::closingWithYesEndsTheProgram()
{
    testing::TempDatabase database;
    testing::storeText("CaminhoBD", database.location());
    prepare();
    bool connectedInLoop = false;
    // Scheduled during the splash pause, after the start-up's own message processing, so it
    // runs in the program's event loop.
    frmPaciente->startupSequence().setPause([&](std::chrono::milliseconds) {
        QTimer::singleShot(0, [&] {
            connectedInLoop = frmPaciente && frmPaciente->isVisible() && frmPaciente->BancoDeDados.connected();
            frmPaciente->close(); // the close box
        });
    });

    QCOMPARE(VorluApplication::instance()->Run(), 0);

    QVERIFY(connectedInLoop);
    QVERIFY(frmPaciente.isEmpty());
    QCOMPARE(dialogs_->texts(), QStringList{QStringLiteral("Tem certeza de que deseja encerrar o programa")});
    // Saved at the close request, and not again at destruction.
    const std::string ini = readFile(settings_->placementFile());
    QVERIFY2(ini.find("[TfrmPaciente]") != std::string::npos, ini.c_str());
    QVERIFY2(ini.find("Visible=0") != std::string::npos, ini.c_str());
    QVERIFY2(ini.find("Visible=1") == std::string::npos, ini.c_str());
}

VORLU_QTEST_MAIN(ProgramTest)
#include "ProgramTest.moc"
