// The database location dialog on its own: its look, its keys and its two buttons, tested
// against real embedded databases.

#include "StartupTestSupport.h"
#include "TestDatabase.h"

#include "forms/untBD.h"
#include "toolkit/FormStorage.h"
#include "toolkit/testing/ModalDriver.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace vorlu;
using forms::frmBD;
using forms::TfrmBD;
using toolkit::testing::RecordingDialogs;
using toolkit::testing::whenModalOpens;

class BDTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void looksAsDesigned();
    void tabOrderIsFieldThenConfirmThenCancel();
    void enterAndEscapeDoNotEndIt();
    void cancelGivesNoWithoutAnyTest();
    void goodLocationGivesYesAndTheFieldOutlivesTheWait();
    void emptyLocationShowsThePlainBoxAndStays();

private:
    // Shows the dialog modally and runs act while it waits; cancels it if act did not end it.
    toolkit::TModalResult runModal(const std::function<void(TfrmBD&)>& act);

    std::unique_ptr<testing::TempSettings> settings_;
    std::unique_ptr<RecordingDialogs> dialogs_;
};

void BDTest::init()
{
    settings_ = std::make_unique<testing::TempSettings>();
    dialogs_ = std::make_unique<RecordingDialogs>();
    frmBD.ensure();
}

void BDTest::cleanup()
{
    // A modal driver whose window never opened must not act on the next test's window.
    for (QTimer* driver : qApp->findChildren<QTimer*>(Qt::FindDirectChildrenOnly))
        delete driver;
    if (frmBD)
        frmBD->Free();
    testing::flushDeferredDeletes();
    QVERIFY(frmBD.isEmpty());
    dialogs_.reset();
    settings_.reset();
}

toolkit::TModalResult BDTest::runModal(const std::function<void(TfrmBD&)>& act)
{
    whenModalOpens([act](QWidget* modal) {
        auto* dialog = qobject_cast<TfrmBD*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        act(*dialog);
        if (dialog->ModalResult() == toolkit::mrNone)
            dialog->Nao->click();
    });
    return frmBD->ShowModal();
}

void BDTest::looksAsDesigned()
{
    TfrmBD& dialog = *frmBD;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuração do Caminho do Banco de Dados"));
    QCOMPARE(dialog.size(), QSize(584, 123));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    for (Qt::WindowType button : {Qt::WindowCloseButtonHint, Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
                                  Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint})
        QVERIFY(!flags.testFlag(button));

    QCOMPARE(dialog.Label2->text(), QStringLiteral("Banco de Dados não Configurado ou não Acessível"));
    QCOMPARE(dialog.Label2->geometry(), QRect(8, 7, 569, 20));
    QVERIFY(dialog.Label2->alignment().testFlag(Qt::AlignHCenter));
    QCOMPARE(dialog.Label2->font().pixelSize(), 16);
    QVERIFY(dialog.Label2->font().bold() && dialog.Label2->font().underline());

    QCOMPARE(dialog.Label3->text(), QStringLiteral("Não se esqueça de liberar a porta TCPIP 3050 no firewall do servidor"));
    QCOMPARE(dialog.Label3->geometry(), QRect(8, 29, 569, 20));
    QVERIFY(dialog.Label3->alignment().testFlag(Qt::AlignHCenter));
    QVERIFY(dialog.Label3->font().bold() && dialog.Label3->font().underline());
    QCOMPARE(dialog.Label3->palette().color(QPalette::WindowText), QColor(Qt::red));

    QCOMPARE(dialog.Label1->text(), QStringLiteral("Caminho do Banco de Dados:"));
    QCOMPARE(dialog.Label1->pos(), QPoint(8, 61));
    QCOMPARE(dialog.txtCaminho->geometry(), QRect(160, 57, 417, 21));
    QCOMPARE(dialog.Sim->text(), QStringLiteral("Confirmar"));
    QCOMPARE(dialog.Sim->geometry(), QRect(328, 89, 121, 25));
    QCOMPARE(dialog.Nao->text(), QStringLiteral("Cancelar"));
    QCOMPARE(dialog.Nao->geometry(), QRect(456, 89, 121, 25));
    QVERIFY(!dialog.Sim->isDefault() && !dialog.Nao->isDefault());

    // Opens centred on the screen.
    dialog.show();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(std::abs(dialog.frameGeometry().center().x() - area.center().x()) <= 1);
    QVERIFY(std::abs(dialog.frameGeometry().center().y() - area.center().y()) <= 1);
    dialog.hide();
}

void BDTest::tabOrderIsFieldThenConfirmThenCancel()
{
    QList<QWidget*> order;
    QWidget* widget = frmBD->txtCaminho;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget;
        widget = widget->nextInFocusChain();
    } while (widget != frmBD->txtCaminho);
    QCOMPARE(order, (QList<QWidget*>{frmBD->txtCaminho, frmBD->Sim, frmBD->Nao}));
}

void BDTest::enterAndEscapeDoNotEndIt()
{
    bool stillWaiting = false;
    const auto result = runModal([&](TfrmBD& dialog) {
        dialog.txtCaminho->setFocus();
        QTest::keyClick(dialog.txtCaminho, Qt::Key_Return);
        QTest::keyClick(dialog.txtCaminho, Qt::Key_Enter);
        QTest::keyClick(dialog.txtCaminho, Qt::Key_Escape);
        stillWaiting = dialog.ModalResult() == toolkit::mrNone && dialog.isVisible();
    });
    QVERIFY(stillWaiting);
    QCOMPARE(result, toolkit::mrNo);
    QVERIFY(dialogs_->isEmpty()); // Enter tested nothing
}

void BDTest::cancelGivesNoWithoutAnyTest()
{
    testing::TempDatabase database;
    const auto result = runModal([&](TfrmBD& dialog) {
        dialog.txtCaminho->setText(QString::fromStdString(database.location()));
        dialog.Nao->click();
    });
    QCOMPARE(result, toolkit::mrNo);
    QVERIFY(!frmBD->BD.connected());
    QVERIFY(frmBD->BD.databaseName().empty());
    QVERIFY(dialogs_->isEmpty());
}

void BDTest::goodLocationGivesYesAndTheFieldOutlivesTheWait()
{
    testing::TempDatabase database;
    const QString location = QString::fromStdString(database.location());
    const auto result = runModal([&](TfrmBD& dialog) {
        dialog.txtCaminho->setText(location);
        dialog.Sim->click();
    });
    QCOMPARE(result, toolkit::mrYes);
    // Freed only after the caller has read the confirmed location.
    QVERIFY(frmBD);
    QCOMPARE(frmBD->txtCaminho->text(), location);
    QVERIFY(frmBD->BD.connected());
    QVERIFY(dialogs_->isEmpty());
    testing::flushDeferredDeletes();
    QVERIFY(frmBD.isEmpty());
}

void BDTest::emptyLocationShowsThePlainBoxAndStays()
{
    bool stayed = false;
    runModal([&](TfrmBD& dialog) {
        dialog.Sim->click();
        stayed = dialog.ModalResult() == toolkit::mrNone && dialog.txtCaminho->text().isEmpty();
    });
    QVERIFY(stayed);
    QCOMPARE(dialogs_->count(), qsizetype(1));
    const auto& box = dialogs_->last();
    QCOMPARE(box.source, toolkit::MessageSource::SystemMessageBox);
    QCOMPARE(box.title, QStringLiteral("A conexão com o Banco de Dados não foi Estabelecida."));
    QCOMPARE(box.text, QStringLiteral("Por favor verifique se o caminho foi Informado Corretamente e se a porta TCPIP "
                                      "3050 esta Liberada no Servidor."));
    QCOMPARE(box.kind, toolkit::mtError);
    QVERIFY(box.owner.isNull());
}

VORLU_QTEST_MAIN(BDTest)
#include "BDTest.moc"
