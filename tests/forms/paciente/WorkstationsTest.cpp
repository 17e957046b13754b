// Several workstations on one database over the loopback server: two record screens in one
// process, each with its own connection and transaction, as two receptionists would have. The
// stored rows are read through a third connection.

#include "RecordScreenFixture.h"
#include "StartupTestSupport.h"
#include "TestDatabase.h"

#include "forms/controls/IntegerEdit.h"
#include "forms/controls/TextEdit.h"
#include "forms/untPaciente.h"
#include "toolkit/Controls.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/QtUnwindLeakGuard.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <map>
#include <memory>
#include <random>

using namespace vorlu;
using namespace vorlu::testing::paciente;
using forms::frmPaciente;
using forms::TfrmPaciente;
using toolkit::MessageSource;
using toolkit::testing::QtUnwindLeakGuard;
using toolkit::testing::RecordingDialogs;

#define REQUIRE_SERVER()                                                                                               \
    do {                                                                                                               \
        if (!vorlu::testing::TestServer::available()) {                                                                \
            if (vorlu::testing::TestServer::required())                                                                \
                QFAIL("VORLU_REQUIRE_SERVER is set but VORLU_TEST_SERVER is not");                                     \
            QSKIP("no loopback Firebird server (VORLU_TEST_SERVER)");                                                  \
        }                                                                                                              \
    } while (0)

class WorkstationsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pinBrazilianLocale(); }
    void init();
    void cleanup();

    void bothPressNovoAtOnce();
    void serverKilledInEditMode();
    void stressTwoWorkstations();

private:
    qsizetype errorReports() const;
    // A click whose handler may fail; returns whether it reported an error.
    bool clickMayFail(QWidget* button);

    std::unique_ptr<vorlu::testing::TempSettings> settings_;
    std::unique_ptr<RecordingDialogs> dialogs_;
    TfrmPaciente* second_ = nullptr;
};

void WorkstationsTest::init()
{
    settings_ = std::make_unique<vorlu::testing::TempSettings>();
    dialogs_ = std::make_unique<RecordingDialogs>();
}

void WorkstationsTest::cleanup()
{
    if (second_)
        second_->Free();
    second_ = nullptr;
    if (frmPaciente)
        frmPaciente->Free();
    vorlu::testing::flushDeferredDeletes();
    dialogs_.reset();
    settings_.reset();
}

qsizetype WorkstationsTest::errorReports() const
{
    qsizetype count = 0;
    for (const auto& message : dialogs_->messages())
        count += message.source == MessageSource::ErrorReport;
    return count;
}

bool WorkstationsTest::clickMayFail(QWidget* button)
{
    const qsizetype before = errorReports();
    {
        QtUnwindLeakGuard guard;
        click(button);
    }
    return errorReports() > before;
}

void WorkstationsTest::bothPressNovoAtOnce()
{
    REQUIRE_SERVER();
    vorlu::testing::ServerDatabase database;
    vorlu::testing::storeText("CaminhoBD", database.location());
    Observer observer(database.location());
    TfrmPaciente& first = showRecordScreen();
    second_ = showOtherRecordScreen();
    TfrmPaciente& second = *second_;

    click(first.btnNovo);
    QCOMPARE(first.CodigoNovo, 1);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(clickMayFail(second.btnNovo));
    QVERIFY2(clock.elapsed() < 3000, "the second stub insert waited for the first");
    // The server's own text reaches the user; the second screen stays in browse mode, ready.
    const QString text = dialogs_->last().text;
    QVERIFY2(text.contains(QStringLiteral("lock conflict")) || text.contains(QStringLiteral("PRIMARY or UNIQUE")),
             qPrintable(text));
    QVERIFY(!second.btnConfirmar->isEnabled());
    QVERIFY(second.btnNovo->isEnabled());
    QCOMPARE(toolkit::tag(second.txtCodigo), toolkit::kTagKeepsEnter);

    fillRequired(first, "PRIMEIRA");
    QVERIFY(!clickMayFail(first.btnConfirmar));
    QCOMPARE(observer.column(1, "PAC_NOM__"), std::string("PRIMEIRA"));
    QCOMPARE(observer.column(1, "PAC_PES__"), std::string("72"));

    // The second tries again: a new code, which it may cancel and take again.
    QVERIFY(!clickMayFail(second.btnNovo));
    QCOMPARE(second.CodigoNovo, 2);
    QVERIFY(!clickMayFail(second.btnCancelar));
    QVERIFY(!observer.row(2));
    QVERIFY(!clickMayFail(second.btnNovo));
    QCOMPARE(second.CodigoNovo, 2);
    fillRequired(second, "SEGUNDA");
    QVERIFY(!clickMayFail(second.btnConfirmar));
    QCOMPARE(observer.codes(), (std::vector<std::int32_t>{1, 2}));
    QCOMPARE(observer.column(1, "PAC_NOM__"), std::string("PRIMEIRA"));
    QCOMPARE(observer.column(2, "PAC_NOM__"), std::string("SEGUNDA"));
    QCOMPARE(errorReports(), qsizetype(1));
}

void WorkstationsTest::serverKilledInEditMode()
{
    REQUIRE_SERVER();
    if (!std::getenv("VORLU_TEST_SERVER_CONTROL")) {
        if (vorlu::testing::TestServer::required())
            QFAIL("VORLU_TEST_SERVER_CONTROL is not set");
        QSKIP("no control over a private loopback server (VORLU_TEST_SERVER_CONTROL)");
    }
    vorlu::testing::PrivateServer server;
    const std::string location = server.createDatabase();
    vorlu::testing::storeText("CaminhoBD", location);
    TfrmPaciente& screen = showRecordScreen();

    click(screen.btnNovo);
    fillRequired(screen, "SALVO ANTES");
    QVERIFY(!clickMayFail(screen.btnConfirmar));
    click(screen.btnNovo);
    QCOMPARE(screen.CodigoNovo, 2);
    fillRequired(screen, "PENDENTE");

    server.kill();
    QVERIFY(clickMayFail(screen.btnConfirmar));
    QCOMPARE(dialogs_->last().source, MessageSource::ErrorReport);
    QVERIFY(!dialogs_->last().text.isEmpty());
    // Still up, still editing, with what was typed.
    QVERIFY(screen.isVisible());
    QVERIFY(screen.btnConfirmar->isEnabled());
    QCOMPARE(screen.txtNome->text(), QStringLiteral("PENDENTE"));

    server.restart();
    {
        Observer observer(location);
        QCOMPARE(observer.codes(), std::vector<std::int32_t>{1});
        QCOMPARE(observer.column(1, "PAC_NOM__"), std::string("SALVO ANTES"));
    }
    // Cancelar leaves edit mode though the transaction died with the server; the screen then
    // works on a fresh connection.
    const qsizetype before = errorReports();
    const bool cancelFailed = clickMayFail(screen.btnCancelar);
    QVERIFY2(!cancelFailed, qPrintable(dialogs_->last().text));
    QCOMPARE(errorReports(), before);
    QVERIFY(!screen.btnConfirmar->isEnabled());
    QVERIFY(screen.btnFechar->isEnabled());
    QVERIFY(screen.txtNome->text().isEmpty());
    QVERIFY(!clickMayFail(screen.btnNovo));
    QCOMPARE(screen.CodigoNovo, 2);
    fillRequired(screen, "DEPOIS");
    QVERIFY(!clickMayFail(screen.btnConfirmar));
    Observer observer(location);
    QCOMPARE(observer.codes(), (std::vector<std::int32_t>{1, 2}));
    QCOMPARE(observer.column(2, "PAC_NOM__"), std::string("DEPOIS"));
    screen.Free();
}

void WorkstationsTest::stressTwoWorkstations()
{
    REQUIRE_SERVER();
    vorlu::testing::ServerDatabase database;
    vorlu::testing::storeText("CaminhoBD", database.location());
    TfrmPaciente* screens[2] = {&showRecordScreen(), nullptr};
    second_ = showOtherRecordScreen();
    screens[1] = second_;

    constexpr int kPatientsEach = 250;
    constexpr qint64 kTimeLimitMs = 300000;
    std::mt19937 random(20260511);
    std::map<std::int32_t, std::string> committed;
    int saved[2] = {0, 0};
    int failures = 0;
    int attempts = 0;
    QElapsedTimer clock;
    clock.start();

    while ((saved[0] < kPatientsEach || saved[1] < kPatientsEach) && clock.elapsed() < kTimeLimitMs) {
        const int w = saved[0] >= kPatientsEach ? 1 : saved[1] >= kPatientsEach ? 0 : int(random() % 2);
        TfrmPaciente& screen = *screens[w];
        ++attempts;
        if (!screen.btnConfirmar->isEnabled()) {
            // Novo; refused at once when the other holds the same code uncommitted.
            const bool failed = clickMayFail(screen.btnNovo);
            QCOMPARE(failed, !screen.btnConfirmar->isEnabled());
            failures += failed;
            continue;
        }
        const std::string name = "W" + std::to_string(w + 1) + " " + std::to_string(attempts);
        fillRequired(screen, QString::fromStdString(name));
        // Now and then the code typed is the other's pending one, which the save must refuse.
        if (random() % 5 == 0 && screens[1 - w]->btnConfirmar->isEnabled())
            typeInto(screen.txtCodigo, QString::number(screens[1 - w]->CodigoNovo));
        const std::int32_t code = screen.txtCodigo->value();
        const bool failed = clickMayFail(screen.btnConfirmar);
        if (failed) {
            ++failures;
            QVERIFY(screen.btnConfirmar->isEnabled());
            QVERIFY(!clickMayFail(screen.btnCancelar));
        } else {
            QVERIFY(!screen.btnConfirmar->isEnabled());
            QVERIFY2(!committed.contains(code), "two saves under one code");
            committed[code] = name;
            ++saved[w];
        }
    }
    for (TfrmPaciente* screen : screens) {
        if (screen->btnConfirmar->isEnabled())
            QVERIFY(!clickMayFail(screen->btnCancelar));
    }
    qInfo("%d attempts, %d + %d saved, %d failures reported, %lld ms", attempts, saved[0], saved[1], failures,
          static_cast<long long>(clock.elapsed()));
    QVERIFY2(saved[0] >= 100 && saved[1] >= 100, "the run ended too early to count");
    QVERIFY2(failures > 0, "the codes never collided");
    // Every failure was reported, and nothing was: every save the screen took is stored.
    QCOMPARE(errorReports(), qsizetype(failures));
    QCOMPARE(dialogs_->count(), qsizetype(failures));
    Observer observer(database.location());
    const auto codes = observer.codes();
    QCOMPARE(codes.size(), committed.size());
    for (const auto& [code, name] : committed)
        QCOMPARE(observer.column(code, "PAC_NOM__"), name);
}

VORLU_QTEST_MAIN(WorkstationsTest)
#include "WorkstationsTest.moc"
