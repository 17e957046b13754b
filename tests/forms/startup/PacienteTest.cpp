// The record screen's shell: the window, the close rule in both modes, and its window placement
// on the real placement file in a temporary folder.

#include "StartupTestSupport.h"
#include "TestDatabase.h"

#include "forms/untBD.h"
#include "forms/untPaciente.h"
#include "forms/untSplash.h"
#include "toolkit/Application.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <fstream>
#include <memory>
#include <sstream>

using namespace vorlu;
using forms::frmPaciente;
using forms::TfrmPaciente;
using toolkit::testing::RecordingDialogs;

namespace {

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The keys of the section, in file order.
QStringList sectionKeys(const std::string& ini, const std::string& section)
{
    QStringList keys;
    std::istringstream lines(ini);
    std::string line;
    bool inside = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('[')) {
            inside = line == "[" + section + "]";
            continue;
        }
        if (inside && line.find('=') != std::string::npos)
            keys << QString::fromStdString(line.substr(0, line.find('=')));
    }
    return keys;
}

int currentPixelsPerInch()
{
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

QString screenSuffix()
{
    const QSize size = QGuiApplication::primaryScreen()->geometry().size();
    return QStringLiteral("(%1x%2)").arg(size.width()).arg(size.height());
}

} // namespace

class PacienteTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowAsDesigned();
    void closeInEditModeIsRefused();
    void closeInBrowseModeAsks_data();
    void closeInBrowseModeAsks();
    void placementRoundTrip();
    void placementOfAnotherPixelsPerInchIsNotApplied_data();
    void placementOfAnotherPixelsPerInchIsNotApplied();

private:
    // Creates the record screen and shows it started on the test database.
    TfrmPaciente& showScreen();

    std::unique_ptr<testing::TempSettings> settings_;
    std::unique_ptr<testing::TempDatabase> database_;
    std::unique_ptr<RecordingDialogs> dialogs_;
};

void PacienteTest::init()
{
    settings_ = std::make_unique<testing::TempSettings>();
    database_ = std::make_unique<testing::TempDatabase>();
    testing::storeText("CaminhoBD", database_->location());
    dialogs_ = std::make_unique<RecordingDialogs>();
}

void PacienteTest::cleanup()
{
    if (frmPaciente)
        frmPaciente->Free();
    testing::flushDeferredDeletes();
    dialogs_.reset();
    database_.reset();
    settings_.reset();
}

TfrmPaciente& PacienteTest::showScreen()
{
    frmPaciente.ensure();
    frmPaciente->startupSequence().setSplashPause(std::chrono::milliseconds(0));
    frmPaciente->startupSequence().setTerminate([] { QFAIL("the start-up ended the program"); });
    frmPaciente->show();
    testing::flushDeferredDeletes();
    return *frmPaciente;
}

void PacienteTest::windowAsDesigned()
{
    TfrmPaciente& screen = *frmPaciente.create();
    QCOMPARE(screen.windowTitle(), QStringLiteral("Módulo Secretária - Cadastro e Manutenção de Pacientes"));
    QCOMPARE(screen.size(), QSize(792, 523));
    QCOMPARE(screen.minimumSize(), QSize(792, 523));
    QCOMPARE(screen.maximumSize(), QSize(792, 523));
    const Qt::WindowFlags flags = screen.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(screen.palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(screen.Shape1->geometry(), QRect(0, 0, 792, 523));
    QCOMPARE(screen.btnConfirmar->geometry(), QRect(431, 480, 100, 33));
    QCOMPARE(screen.btnFechar->geometry(), QRect(682, 480, 100, 33));

    // Created in browse mode, unconnected; creating it creates no other form.
    QVERIFY(!screen.btnConfirmar->isEnabled());
    QVERIFY(screen.btnFechar->isEnabled());
    QVERIFY(!screen.BancoDeDados.connected());
    QCOMPARE(screen.BancoDeDados.defaultTransaction(), &screen.Transacao);
    QVERIFY(!screen.Transacao.active());
    QCOMPARE(screen.DataServidor, 0.0);
    QVERIFY(screen.StreamFoto.empty());
    QCOMPARE(toolkit::TForm::forms(), QList<toolkit::TForm*>{&screen});

    // The application title reaches the taskbar entry; the caption stays the window's own.
    showScreen();
    QCOMPARE(frmPaciente.get(), &screen);
    QCOMPARE(screen.windowIconText(), toolkit::VorluApplication::title());
    QCOMPARE(screen.windowTitle(), QStringLiteral("Módulo Secretária - Cadastro e Manutenção de Pacientes"));
}

void PacienteTest::closeInEditModeIsRefused()
{
    TfrmPaciente& screen = showScreen();
    screen.MudaEstadoCampos(true);
    QVERIFY(!screen.btnFechar->isEnabled());
    screen.btnFechar->click(); // disabled: does nothing
    QVERIFY(dialogs_->isEmpty());

    dialogs_->answer(toolkit::mrOk);
    screen.close(); // the close box
    testing::flushDeferredDeletes();

    QVERIFY(frmPaciente);
    QVERIFY(screen.isVisible());
    QCOMPARE(dialogs_->count(), qsizetype(1));
    QCOMPARE(dialogs_->last().text, QStringLiteral("Impossível fechar a Janela com os Dados em Edição."));
    QCOMPARE(dialogs_->last().kind, toolkit::mtInformation);
    QCOMPARE(dialogs_->last().buttons, toolkit::TMsgDlgButtons(toolkit::mbOK));
    // Saved at the request, before the rule refused.
    QCOMPARE(sectionKeys(readFile(settings_->placementFile()), "TfrmPaciente"),
             (QStringList{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" + screenSuffix(), "MinMaxPos",
                          "NormPos" + screenSuffix(), "NormPos", "Visible"}));
}

void PacienteTest::closeInBrowseModeAsks_data()
{
    QTest::addColumn<bool>("throughFechar");
    QTest::newRow("close box") << false;
    QTest::newRow("Fechar") << true;
}

void PacienteTest::closeInBrowseModeAsks()
{
    QFETCH(bool, throughFechar);
    TfrmPaciente& screen = showScreen();
    auto requestClose = [&] {
        if (throughFechar)
            screen.btnFechar->click();
        else
            screen.close();
        testing::flushDeferredDeletes();
    };

    dialogs_->answer(toolkit::mrNo);
    requestClose();
    QVERIFY(frmPaciente);
    QVERIFY(screen.isVisible());
    QCOMPARE(dialogs_->count(), qsizetype(1));
    QCOMPARE(dialogs_->last().text, QStringLiteral("Tem certeza de que deseja encerrar o programa"));
    QCOMPARE(dialogs_->last().kind, toolkit::mtConfirmation);
    QCOMPARE(dialogs_->last().buttons, toolkit::mbYesNo);
    QVERIFY(readFile(settings_->placementFile()).find("Visible=0") != std::string::npos);

    dialogs_->answer(toolkit::mrYes);
    requestClose();
    QCOMPARE(dialogs_->count(), qsizetype(2));
    QVERIFY(frmPaciente.isEmpty());
}

void PacienteTest::placementRoundTrip()
{
    // Before the file exists: the designed position.
    frmPaciente.create();
    const QPoint designed = frmPaciente->pos();
    TfrmPaciente& first = showScreen();
    QCOMPARE(first.pos(), designed);

    first.move(140, 90);
    const QRect frame = first.frameGeometry();
    dialogs_->answer(toolkit::mrYes);
    first.close();
    testing::flushDeferredDeletes();
    QVERIFY(frmPaciente.isEmpty());
    const std::string ini = readFile(settings_->placementFile());
    const std::string normal = QStringLiteral("NormPos=140,90,%1,%2")
                                   .arg(140 + frame.width())
                                   .arg(90 + frame.height())
                                   .toStdString();
    QVERIFY2(ini.find(normal) != std::string::npos, ini.c_str());
    QVERIFY2(ini.find("PixelsPerInch=" + std::to_string(currentPixelsPerInch())) != std::string::npos, ini.c_str());

    // Restored before the start-up handler runs: the splash pause already sees the position.
    QPoint duringStartup;
    frmPaciente.create();
    frmPaciente->startupSequence().setPause([&](std::chrono::milliseconds) { duringStartup = frmPaciente->pos(); });
    TfrmPaciente& second = showScreen();
    QCOMPARE(duringStartup, QPoint(140, 90));
    QCOMPARE(second.pos(), QPoint(140, 90));
    QCOMPARE(second.size(), QSize(792, 523));
}

void PacienteTest::placementOfAnotherPixelsPerInchIsNotApplied_data()
{
    QTest::addColumn<int>("pixelsPerInchChange");
    QTest::addColumn<bool>("applied");
    QTest::newRow("same pixels per inch") << 0 << true;
    QTest::newRow("other pixels per inch") << 24 << false;
}

void PacienteTest::placementOfAnotherPixelsPerInchIsNotApplied()
{
    QFETCH(int, pixelsPerInchChange);
    QFETCH(bool, applied);
    std::filesystem::create_directories(settings_->placementFile().parent_path());
    // A stored size other than the form's own: a fixed-size form takes only left and top.
    std::ofstream(settings_->placementFile())
        << "[TfrmPaciente]\nFormVersion=0\nFlags=0\nShowCmd=1\nPixelsPerInch="
        << currentPixelsPerInch() + pixelsPerInchChange << "\nNormPos=300,200,1400,950\n";

    frmPaciente.create();
    const QPoint designed = frmPaciente->pos();
    TfrmPaciente& screen = showScreen();
    QCOMPARE(screen.pos(), applied ? QPoint(300, 200) : designed);
    QCOMPARE(screen.size(), QSize(792, 523));
}

VORLU_QTEST_MAIN(PacienteTest)
#include "PacienteTest.moc"
