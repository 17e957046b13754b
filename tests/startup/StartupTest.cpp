// The record screen's start-up handler and its failure road, on real embedded databases and a
// settings store in a temporary folder. The end of the program is recorded instead of
// stopping the loop (ProgramTest covers the real end).

#include "StartupTestSupport.h"
#include "TestDatabase.h"

#include "data/Connection.h"
#include "data/Query.h"
#include "data/ServerClock.h"
#include "data/Transaction.h"
#include "forms/untBD.h"
#include "forms/untPaciente.h"
#include "forms/untSplash.h"
#include "startup/Registro.h"
#include "toolkit/testing/ModalDriver.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

using namespace vorlu;
using namespace std::chrono_literals;
using forms::frmBD;
using forms::frmPaciente;
using forms::frmSplash;
using forms::TfrmBD;
using toolkit::MessageSource;
using toolkit::testing::RecordingDialogs;
using toolkit::testing::whenModalOpens;

namespace {

const QString kSuccess =
    QStringLiteral("O caminho do Banco de Dados foi Configurado com Sucesso, entre novamente no Programa para Utilizá-lo");
const QString kFailureTitle = QStringLiteral("A conexão com o Banco de Dados não foi Estabelecida.");
const QString kFailureText =
    QStringLiteral("Por favor verifique se o caminho foi Informado Corretamente e se a porta TCPIP 3050 esta Liberada no Servidor.");

// What the location dialog looked like when it opened, and what became of it.
struct DialogVisit {
    bool opened = false;
    QString field;
};

// Answers the location dialog once it opens: `act` types and clicks; the dialog is cancelled
// afterwards if it is still waiting, so a failing test never hangs.
void onLocationDialog(DialogVisit& visit, std::function<void(TfrmBD&)> act)
{
    whenModalOpens([&visit, act = std::move(act)](QWidget* modal) {
        auto* dialog = qobject_cast<TfrmBD*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        visit.opened = true;
        visit.field = dialog->txtCaminho->text();
        act(*dialog);
        if (dialog->ModalResult() == toolkit::mrNone)
            dialog->Nao->click();
    });
}

void type(TfrmBD& dialog, const QString& text)
{
    dialog.txtCaminho->setText(text);
    dialog.Sim->click();
}

QStringList systemBoxes(const RecordingDialogs& dialogs)
{
    QStringList boxes;
    for (const auto& box : dialogs.messages()) {
        if (box.source == MessageSource::SystemMessageBox)
            boxes << box.title + " | " + box.text;
    }
    return boxes;
}

QStringList otherBoxes(const RecordingDialogs& dialogs)
{
    QStringList boxes;
    for (const auto& box : dialogs.messages()) {
        if (box.source != MessageSource::SystemMessageBox)
            boxes << box.title + " | " + box.text;
    }
    return boxes;
}

// The file's bytes; nullopt when it does not exist.
std::optional<std::string> fileContent(const std::filesystem::path& file)
{
    if (!std::filesystem::exists(file))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

data::DateTime serverClock(const std::string& location)
{
    data::Connection connection;
    data::Transaction transaction(connection);
    data::Query query(connection, transaction);
    connection.setDatabaseName(location);
    connection.open();
    return data::readServerClock(query);
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunAsksAndSavesTheLocation();
    void failedLocationIsShownAndCancelLeavesEverything_data();
    void failedLocationIsShownAndCancelLeavesEverything();
    void blanksAreTestedAndSavedAsTyped();
    void failedAttemptsThenAGoodOne();
    void successfulStartShowsTheSplash();
    void dataServidorIsTheServersClockNotTheWorkstations();
    void locationOfAnotherTypeGoesToTheErrorReport();
    void splashFailureTakesTheFailureRoad();
    void failureAfterConfirmationStopsTheRoad();
    void pauseProcessesNoMessages();

private:
    forms::TfrmPaciente& screen() { return *frmPaciente; }

    std::unique_ptr<testing::TempSettings> settings_;
    std::unique_ptr<RecordingDialogs> dialogs_;
    std::vector<std::chrono::milliseconds> pauses_;
    std::function<void()> duringPause_;
    int terminations_ = 0;
    std::optional<QByteArray> previousTz_;
};

void StartupTest::init()
{
    settings_ = std::make_unique<testing::TempSettings>();
    dialogs_ = std::make_unique<RecordingDialogs>();
    pauses_.clear();
    duringPause_ = nullptr;
    terminations_ = 0;
    frmPaciente.create();
    screen().startupSequence().setPause([this](std::chrono::milliseconds duration) {
        pauses_.push_back(duration);
        if (duringPause_)
            duringPause_();
    });
    screen().startupSequence().setTerminate([this] { ++terminations_; });
}

void StartupTest::cleanup()
{
    // A modal driver whose window never opened must not act on the next test's window.
    for (QTimer* driver : qApp->findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
        delete driver;
    if (frmPaciente)
        frmPaciente->Free();
    testing::flushDeferredDeletes();
    QVERIFY(frmBD.isEmpty());
    QVERIFY(frmSplash.isEmpty());
    dialogs_.reset();
    settings_.reset();
}

void StartupTest::firstRunAsksAndSavesTheLocation()
{
    testing::TempDatabase database;
    QVERIFY(!testing::settingsKeyExists());

    DialogVisit visit;
    onLocationDialog(visit, [&](TfrmBD& dialog) { type(dialog, QString::fromStdString(database.location())); });
    screen().show();

    QVERIFY(visit.opened);
    QCOMPARE(visit.field, QString());
    QCOMPARE(testing::storedText("CaminhoBD"), std::optional(database.location()));
    QCOMPARE(otherBoxes(*dialogs_), QStringList{"Atenção | " + kSuccess});
    QCOMPARE(dialogs_->last().kind, toolkit::mtWarning);
    QCOMPARE(dialogs_->last().buttons, toolkit::TMsgDlgButtons(toolkit::mbOK));
    QCOMPARE(terminations_, 1);
    QVERIFY(screen().BancoDeDados.connected());
    QCOMPARE(screen().BancoDeDados.databaseName(), database.location());
    QVERIFY(pauses_.empty()); // no splash on this road
}

void StartupTest::failedLocationIsShownAndCancelLeavesEverything_data()
{
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<QString>("location");
    QTest::newRow("no settings key") << false << QString();
    QTest::newRow("refused location") << true << QStringLiteral("/nenhuma/pasta/banco.fdb");
    QTest::newRow("not a database") << true << QStringLiteral("__FILE__");
}

void StartupTest::failedLocationIsShownAndCancelLeavesEverything()
{
    QFETCH(bool, keyExists);
    QFETCH(QString, location);
    if (location == "__FILE__") {
        // A file that exists but holds no database.
        location = QString::fromStdString((settings_->registryFile().parent_path().parent_path() / "texto.fdb").string());
        std::ofstream(location.toStdString()) << "not a database\n";
    }
    if (keyExists)
        testing::storeText("CaminhoBD", location.toStdString());
    const std::optional<std::string> fileBefore = fileContent(settings_->registryFile());

    DialogVisit visit;
    onLocationDialog(visit, [](TfrmBD& dialog) { dialog.Nao->click(); });
    screen().show();

    QVERIFY(visit.opened);
    QCOMPARE(visit.field, location);
    QVERIFY(dialogs_->isEmpty());
    QCOMPARE(terminations_, 1);
    QVERIFY(!screen().BancoDeDados.connected());
    QCOMPARE(testing::settingsKeyExists(), keyExists);
    if (keyExists)
        QCOMPARE(testing::storedText("CaminhoBD"), std::optional(location.toStdString()));
    QVERIFY(fileContent(settings_->registryFile()) == fileBefore);
}

void StartupTest::blanksAreTestedAndSavedAsTyped()
{
    testing::TempDatabase database;
    const QString typed = "  " + QString::fromStdString(database.location()) + "   ";
    DialogVisit visit;
    onLocationDialog(visit, [&](TfrmBD& dialog) { type(dialog, typed); });
    screen().show();

    QVERIFY(visit.opened);
    QCOMPARE(testing::storedText("CaminhoBD"), std::optional(typed.toStdString()));
    QCOMPARE(screen().BancoDeDados.databaseName(), typed.toStdString());
    QCOMPARE(otherBoxes(*dialogs_), QStringList{"Atenção | " + kSuccess});
    QVERIFY(systemBoxes(*dialogs_).isEmpty());
}

void StartupTest::failedAttemptsThenAGoodOne()
{
    testing::TempDatabase database;
    testing::storeText("CaminhoBD", "/nenhuma/pasta/banco.fdb");
    QStringList boxesAfterEachAttempt;
    bool stayedOpen = true;
    DialogVisit visit;
    onLocationDialog(visit, [&](TfrmBD& dialog) {
        for (const QString& attempt : {QString(), QStringLiteral("/nenhuma/pasta/banco.fdb"),
                                       QStringLiteral("127.0.0.1/1:/banco.fdb")}) {
            type(dialog, attempt);
            boxesAfterEachAttempt << QString::number(systemBoxes(*dialogs_).size());
            stayedOpen = stayedOpen && dialog.ModalResult() == toolkit::mrNone && dialog.txtCaminho->text() == attempt;
        }
        type(dialog, QString::fromStdString(database.location()));
    });
    screen().show();

    QVERIFY(visit.opened);
    QCOMPARE(boxesAfterEachAttempt, (QStringList{"1", "2", "3"}));
    QVERIFY(stayedOpen);
    const QString box = kFailureTitle + " | " + kFailureText;
    QCOMPARE(systemBoxes(*dialogs_), (QStringList{box, box, box}));
    for (const auto& request : dialogs_->messages()) {
        if (request.source != MessageSource::SystemMessageBox)
            continue;
        QCOMPARE(request.kind, toolkit::mtError);
        QCOMPARE(request.buttons, toolkit::TMsgDlgButtons(toolkit::mbOK));
        QVERIFY(request.owner.isNull());
    }
    QCOMPARE(otherBoxes(*dialogs_), QStringList{"Atenção | " + kSuccess});
    QCOMPARE(testing::storedText("CaminhoBD"), std::optional(database.location()));
    QCOMPARE(terminations_, 1);
}

void StartupTest::successfulStartShowsTheSplash()
{
    testing::TempDatabase database;
    testing::storeText("CaminhoBD", database.location());

    struct {
        bool exists = false, visible = false, exposed = false, onTop = false;
        QString status;
        bool screenConnected = false;
    } seen;
    duringPause_ = [&] {
        seen.exists = bool(frmSplash);
        if (!frmSplash)
            return;
        seen.visible = frmSplash->isVisible();
        seen.exposed = frmSplash->windowHandle() && frmSplash->windowHandle()->isExposed();
        seen.onTop = frmSplash->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.status = frmSplash->lblStatus->text();
        seen.screenConnected = screen().BancoDeDados.connected();
    };
    const double before = testing::workstationNow();
    screen().show();
    const double after = testing::workstationNow();

    QCOMPARE(pauses_, std::vector{std::chrono::milliseconds(2000)});
    QVERIFY(seen.exists);
    QVERIFY(seen.visible);
    QVERIFY(seen.exposed); // pending messages were processed before the pause
    QVERIFY(seen.onTop);
    QCOMPARE(seen.status, QStringLiteral("Conectando ao Banco de Dados..."));
    QVERIFY(seen.screenConnected);

    // Shown, connected, in browse mode; the splash closed itself.
    QVERIFY(screen().isVisible());
    QVERIFY(screen().BancoDeDados.connected());
    QVERIFY(!screen().btnConfirmar->isEnabled());
    QVERIFY(screen().btnFechar->isEnabled());
    QVERIFY(dialogs_->isEmpty());
    QCOMPARE(terminations_, 0);
    QVERIFY(frmBD.isEmpty());
    testing::flushDeferredDeletes();
    QVERIFY(frmSplash.isEmpty());
    // The embedded engine shares this machine's clock: only a sanity check here.
    QVERIFY(screen().DataServidor >= before - 2.0 / 86400 && screen().DataServidor <= after + 2.0 / 86400);
    // The clock statement started the one transaction and left its result open.
    QVERIFY(screen().Transacao.active());
    QVERIFY(screen().qryAuxiliar.active());
}

void StartupTest::dataServidorIsTheServersClockNotTheWorkstations()
{
    if (!testing::TestServer::available()) {
        if (testing::TestServer::required())
            QFAIL("VORLU_REQUIRE_SERVER is set but VORLU_TEST_SERVER is not");
        QSKIP("no loopback Firebird server (VORLU_TEST_SERVER)");
    }
    testing::ServerDatabase database;
    testing::storeText("CaminhoBD", database.location());

    // Put this workstation's clock twelve hours away from the server's: the server keeps the
    // time zone it was started in, TZ moves only this process's local time.
    const std::optional<QByteArray> previousTz =
        qEnvironmentVariableIsSet("TZ") ? std::optional(qgetenv("TZ")) : std::nullopt;
    const double serverOffsetHours =
        std::round((serverClock(database.location()) - (double(std::time(nullptr)) / 86400.0 + 25569.0)) * 24.0);
    const int workstationOffset = int(serverOffsetHours) <= 0 ? int(serverOffsetHours) + 12 : int(serverOffsetHours) - 12;
    // POSIX writes the offset west of Greenwich: "WKS-5" is five hours ahead of UTC.
    const QByteArray tz = "WKS" + QByteArray(workstationOffset >= 0 ? "-" : "+") + QByteArray::number(std::abs(workstationOffset));
    qputenv("TZ", tz);
    auto restoreTz = qScopeGuard([&] {
        if (previousTz)
            qputenv("TZ", *previousTz);
        else
            qunsetenv("TZ");
        testing::reloadTimeZone();
    });
    testing::reloadTimeZone();

    const double serverBefore = serverClock(database.location());
    const double workstation = testing::workstationNow();
    QVERIFY2(std::abs(workstation - serverBefore) > 6.0 / 24, "the workstation's clock could not be set apart");
    screen().show();
    const double serverAfter = serverClock(database.location());

    QVERIFY(screen().BancoDeDados.connected());
    QCOMPARE(pauses_.size(), std::size_t(1));
    const double second = 1.0 / 86400;
    QVERIFY(screen().DataServidor >= serverBefore - second);
    QVERIFY(screen().DataServidor <= serverAfter + second);
    QVERIFY(std::abs(screen().DataServidor - testing::workstationNow()) > 6.0 / 24);
    // A timestamp, not a date: the time of day is kept.
    QVERIFY(screen().DataServidor != std::floor(screen().DataServidor));
}

void StartupTest::locationOfAnotherTypeGoesToTheErrorReport()
{
    testing::storeNumber("CaminhoBD", 3050);
    DialogVisit visit;
    onLocationDialog(visit, [](TfrmBD& dialog) { dialog.Nao->click(); });
    screen().show();

    QVERIFY(!visit.opened);
    QCOMPARE(dialogs_->count(), qsizetype(1));
    QCOMPARE(dialogs_->last().source, MessageSource::ErrorReport);
    QCOMPARE(dialogs_->last().title, QStringLiteral("Vorlu - Módulo Secretária"));
    // Its last character sorts below the full stop, so none is appended.
    QCOMPARE(dialogs_->last().text, QStringLiteral("Tipo de dados inválido para 'CaminhoBD'"));
    QCOMPARE(terminations_, 0);
    QVERIFY(pauses_.empty());
    QVERIFY(!screen().BancoDeDados.connected());
    QVERIFY(screen().isVisible()); // shown without a connection
}

void StartupTest::splashFailureTakesTheFailureRoad()
{
    testing::TempDatabase database;
    testing::storeText("CaminhoBD", database.location());
    testing::storeNumber("Empresa", 1);

    DialogVisit visit;
    onLocationDialog(visit, [](TfrmBD& dialog) { dialog.Sim->click(); });
    screen().show();

    // Connected and clock read, then the splash failed: the very location is offered again.
    QVERIFY(visit.opened);
    QCOMPARE(visit.field, QString::fromStdString(database.location()));
    QVERIFY(pauses_.empty());
    QCOMPARE(otherBoxes(*dialogs_), QStringList{"Atenção | " + kSuccess});
    QCOMPARE(terminations_, 1);
    QVERIFY(screen().BancoDeDados.connected());
    QCOMPARE(testing::storedText("CaminhoBD"), std::optional(database.location()));
}

void StartupTest::failureAfterConfirmationStopsTheRoad()
{
    testing::TempDatabase database;
    DialogVisit visit;
    std::string brokenFile = "this is no registry export\n";
    onLocationDialog(visit, [&](TfrmBD& dialog) {
        // The settings store breaks while the dialog is open: saving the location fails.
        std::filesystem::create_directories(settings_->registryFile().parent_path());
        std::ofstream(settings_->registryFile(), std::ios::trunc) << brokenFile;
        type(dialog, QString::fromStdString(database.location()));
    });
    screen().show();

    QVERIFY(visit.opened);
    QCOMPARE(dialogs_->count(), qsizetype(1));
    QCOMPARE(dialogs_->last().source, MessageSource::ErrorReport);
    QCOMPARE(terminations_, 0); // the program is not ended, no success message
    QVERIFY(!screen().BancoDeDados.connected());
    QCOMPARE(fileContent(settings_->registryFile()), std::optional(brokenFile));
}

void StartupTest::pauseProcessesNoMessages()
{
    bool ran = false;
    QMetaObject::invokeMethod(qApp, [&] { ran = true; }, Qt::QueuedConnection);
    const auto start = std::chrono::steady_clock::now();
    startup::sleepWithoutMessages(30ms);
    QVERIFY(std::chrono::steady_clock::now() - start >= 30ms);
    QVERIFY(!ran);
    QCoreApplication::processEvents();
    QVERIFY(ran);
}

VORLU_QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
