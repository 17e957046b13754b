#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/FormGlobal.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <stdexcept>

using namespace vorlu::toolkit;
using vorlu::toolkit::testing::RecordingDialogs;

namespace {

// Records the order of everything that happens to it.
class TfrmProbe : public TForm {
public:
    QStringList* log;
    TCloseAction action = caFree;
    bool allowClose = true;
    bool failShow = false;
    bool failClose = false;
    bool windowShownDuringShow = true;
    QPushButton* btnOk;
    QPushButton* btnConfirmar;
    QLineEdit* txtCampo;

    explicit TfrmProbe(QStringList* events)
        : log(events)
    {
        btnOk = new QPushButton(QStringLiteral("OK"), this);
        btnConfirmar = new QPushButton(QStringLiteral("Confirmar"), this);
        txtCampo = new QLineEdit(this);
        setButtonModalResult(btnOk, mrOk);
        // Like the location dialog: a close request, then a result of its own.
        connect(btnConfirmar, &QPushButton::clicked, this, [this] {
            close();
            setModalResult(mrYes);
        });
    }

protected:
    void FormCreate() override { *log << "create"; }
    void FormShow() override
    {
        *log << "show";
        windowShownDuringShow = windowHandle() && windowHandle()->isVisible();
        if (failShow)
            throw std::runtime_error("Falha ao mostrar");
    }
    bool CloseQuery() override
    {
        *log << "query";
        return allowClose;
    }
    TCloseAction FormClose(TCloseAction defaultAction) override
    {
        *log << (defaultAction == caHide ? "close(hide)" : "close(?)");
        if (failClose)
            throw std::runtime_error("Falha ao fechar");
        return action;
    }
    void FormDestroy() override { *log << "destroy"; }
};

FormGlobal<TfrmProbe> frmProbe;

void addPlacementLog(TForm& form, QStringList& log)
{
    form.setPlacementHooks([&log](TForm&) { log << "restore"; },
                           [&log](TForm&, bool destroying) { log << (destroying ? "save(destroy)" : "save(close)"); });
}

// Lets deferred deletions (Release, caFree) run as the event loop would after a handler.
void returnToEventLoop()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Three single-line fields, a memo and a field outside the tab order.
class TfrmFields : public TForm {
public:
    QLineEdit* txtCodigo = new QLineEdit(this);
    QLineEdit* txtNome = new QLineEdit(this);
    QLineEdit* txtSexo = new QLineEdit(this);
    QPlainTextEdit* txtObsC = new QPlainTextEdit(this);
    QLineEdit* txtFinal = new QLineEdit(this);
    int codigoEnters = 0;

    TfrmFields()
    {
        QWidget::setTabOrder(txtCodigo, txtNome);
        QWidget::setTabOrder(txtNome, txtSexo);
        QWidget::setTabOrder(txtSexo, txtObsC);
        QWidget::setTabOrder(txtObsC, txtFinal);
        connect(txtCodigo, &QLineEdit::returnPressed, this, [this] { ++codigoEnters; });
        setEnterAsTab(true);
    }
};

// A form that filters events of its own and consumes none: the dialog keys still work.
class TfrmFiltering : public TfrmFields {
protected:
    bool eventFilter(QObject*, QEvent*) override { return false; }
};

} // namespace

class FormTest : public QObject {
    Q_OBJECT

private slots:
    void init() { log.clear(); }
    void cleanup()
    {
        if (frmProbe)
            frmProbe->Free();
        returnToEventLoop();
    }

    void createShowAndCloseInOrder();
    void showHandlerRunsBeforeTheWindowIsVisible();
    void showErrorIsReportedAndWindowStillShows();
    void restoreErrorIsReportedAndShowGoesOn();
    void refusedCloseQuerySavesNothing();
    void closeActions_data();
    void closeActions();
    void closeHandlerErrorKeepsFormOpen();

    void globalCreatedOnceAndClearedOnDestruction();
    void createErrorReachesTheCreator();

    void modalButtonResult();
    void modalCloseRequestGivesCancel();
    void modalResultSetAfterCloseRequest();
    void modalFormFreedAfterCallerReturns();
    void modalCloseRefusedKeepsWaiting();

    void tagAndTabStop();
    void enterMovesLikeTab();
    void enterAsTabSwitchedOff();
    void enterAsTabWithFormsOwnEventFilter();

private:
    QStringList log;
};

void FormTest::createShowAndCloseInOrder()
{
    frmProbe.ensure(&log);
    addPlacementLog(*frmProbe, log);
    frmProbe->show();
    QVERIFY(QTest::qWaitForWindowExposed(frmProbe.get()));
    frmProbe->close();
    QVERIFY(frmProbe); // freed only once control is back in the event loop
    returnToEventLoop();
    QVERIFY(!frmProbe);
    QCOMPARE(log, (QStringList{"create", "restore", "show", "query", "save(close)", "close(hide)", "save(destroy)",
                               "destroy"}));
}

void FormTest::showHandlerRunsBeforeTheWindowIsVisible()
{
    frmProbe.ensure(&log);
    frmProbe->show();
    QVERIFY(!frmProbe->windowShownDuringShow);
    QVERIFY(frmProbe->windowHandle()->isVisible());
}

void FormTest::showErrorIsReportedAndWindowStillShows()
{
    RecordingDialogs dialogs;
    frmProbe.ensure(&log);
    frmProbe->failShow = true;
    frmProbe->show();
    QCOMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().source, MessageSource::ErrorReport);
    QCOMPARE(dialogs.last().text, QStringLiteral("Falha ao mostrar."));
    QVERIFY(frmProbe->isVisible());
    QVERIFY(frmProbe->windowHandle()->isVisible());
}

void FormTest::restoreErrorIsReportedAndShowGoesOn()
{
    RecordingDialogs dialogs;
    frmProbe.ensure(&log);
    frmProbe->setPlacementHooks([](TForm&) { throw std::runtime_error("Impossível gravar para Vorlu.INI"); },
                                nullptr);
    frmProbe->show();
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Impossível gravar para Vorlu.INI.")});
    QCOMPARE(log, (QStringList{"create", "show"}));
}

void FormTest::refusedCloseQuerySavesNothing()
{
    frmProbe.ensure(&log);
    addPlacementLog(*frmProbe, log);
    frmProbe->allowClose = false;
    frmProbe->show();
    QVERIFY(!frmProbe->close());
    returnToEventLoop();
    QVERIFY(frmProbe && frmProbe->isVisible());
    QCOMPARE(log, (QStringList{"create", "restore", "show", "query"}));
}

void FormTest::closeActions_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("alive");

    QTest::newRow("caNone keeps it") << int(caNone) << true << true;
    QTest::newRow("caHide hides it") << int(caHide) << false << true;
    QTest::newRow("caFree frees it") << int(caFree) << false << false;
}

void FormTest::closeActions()
{
    QFETCH(int, action);
    QFETCH(bool, visible);
    QFETCH(bool, alive);

    frmProbe.ensure(&log);
    frmProbe->action = TCloseAction(action);
    frmProbe->show();
    frmProbe->close();
    returnToEventLoop();
    QCOMPARE(bool(frmProbe), alive);
    if (alive)
        QCOMPARE(frmProbe->isVisible(), visible);
    QCOMPARE(log.contains("destroy"), !alive);
}

void FormTest::closeHandlerErrorKeepsFormOpen()
{
    RecordingDialogs dialogs;
    frmProbe.ensure(&log);
    frmProbe->failClose = true;
    frmProbe->show();
    frmProbe->close();
    returnToEventLoop();
    QVERIFY(frmProbe && frmProbe->isVisible());
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Falha ao fechar.")});
}

void FormTest::globalCreatedOnceAndClearedOnDestruction()
{
    QVERIFY(frmProbe.isEmpty());
    TfrmProbe* first = frmProbe.ensure(&log);
    QCOMPARE(frmProbe.ensure(&log), first); // not created again while it exists
    QCOMPARE(log, QStringList{"create"});

    first->show();
    first->close();
    returnToEventLoop();
    QVERIFY(frmProbe.isEmpty());

    frmProbe.ensure(&log);
    QVERIFY(frmProbe);
    QCOMPARE(log.count("create"), 2);
}

void FormTest::createErrorReachesTheCreator()
{
    struct TfrmBroken : TForm {
        void FormCreate() override { throw std::runtime_error("Tipo de dados inválido para 'Empresa'"); }
    };
    FormGlobal<TfrmBroken> frmBroken;
    const int formsBefore = int(TForm::forms().size());
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, frmBroken.ensure());
    QVERIFY(frmBroken.isEmpty());
    QCOMPARE(int(TForm::forms().size()), formsBefore); // the half-made form is gone
}

void FormTest::modalButtonResult()
{
    frmProbe.ensure(&log);
    frmProbe->action = caHide;
    QTimer::singleShot(0, [] { QTest::mouseClick(frmProbe->btnOk, Qt::LeftButton); });
    QCOMPARE(frmProbe->ShowModal(), mrOk);
    QVERIFY(!frmProbe->isVisible());
    QVERIFY(!frmProbe->inModalLoop());
    QCOMPARE(log, (QStringList{"create", "show", "query", "close(hide)"}));
}

void FormTest::modalCloseRequestGivesCancel()
{
    frmProbe.ensure(&log);
    frmProbe->action = caHide;
    QTimer::singleShot(0, [] { frmProbe->close(); });
    QCOMPARE(frmProbe->ShowModal(), mrCancel);
}

void FormTest::modalResultSetAfterCloseRequest()
{
    frmProbe.ensure(&log);
    frmProbe->action = caHide;
    QTimer::singleShot(0, [] { frmProbe->btnConfirmar->click(); });
    QCOMPARE(frmProbe->ShowModal(), mrYes);
}

void FormTest::modalFormFreedAfterCallerReturns()
{
    frmProbe.ensure(&log);
    frmProbe->action = caFree;
    int result = mrNone;
    QString readAfterwards;
    bool aliveAfterWait = false;
    // The caller is a handler, as the start-up handler is.
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] {
            frmProbe->txtCampo->setText(QStringLiteral("C:/dados/VORLU.FDB"));
            QTest::mouseClick(frmProbe->btnConfirmar, Qt::LeftButton);
        });
        result = frmProbe->ShowModal();
        aliveAfterWait = bool(frmProbe);
        if (aliveAfterWait)
            readAfterwards = frmProbe->txtCampo->text();
    });
    QTRY_VERIFY(result != mrNone);
    QCOMPARE(result, mrYes);
    QVERIFY(aliveAfterWait);
    QCOMPARE(readAfterwards, QStringLiteral("C:/dados/VORLU.FDB"));
    QTRY_VERIFY(frmProbe.isEmpty());
    QCOMPARE(log.last(), QStringLiteral("destroy"));
}

void FormTest::modalCloseRefusedKeepsWaiting()
{
    frmProbe.ensure(&log);
    frmProbe->action = caHide;
    frmProbe->allowClose = false;
    bool stillWaiting = false;
    QTimer::singleShot(0, [&] {
        frmProbe->close();
        QTimer::singleShot(0, [&] {
            stillWaiting = frmProbe->inModalLoop() && frmProbe->isVisible();
            frmProbe->allowClose = true;
            QTest::mouseClick(frmProbe->btnOk, Qt::LeftButton);
        });
    });
    QCOMPARE(frmProbe->ShowModal(), mrOk);
    QVERIFY(stillWaiting);
}

void FormTest::tagAndTabStop()
{
    QLineEdit edit;
    QCOMPARE(tag(&edit), 0);
    setTag(&edit, kTagKeepsEnter);
    QCOMPARE(tag(&edit), 65536);
    setTag(&edit, 0);
    QCOMPARE(tag(&edit), 0);

    QVERIFY(isTabStop(&edit));
    setTabStop(&edit, false);
    QVERIFY(!isTabStop(&edit));
    QVERIFY(edit.focusPolicy() & Qt::ClickFocus); // still takes a click
    setTabStop(&edit, true);
    QCOMPARE(edit.focusPolicy(), Qt::StrongFocus);
}

void FormTest::enterMovesLikeTab()
{
    TfrmFields form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto focused = [] { return QApplication::focusWidget(); };

    // Browse mode: the code field keeps Enter for its own handler.
    setTag(form.txtCodigo, kTagKeepsEnter);
    form.txtCodigo->setFocus();
    QTest::keyClick(form.txtCodigo, Qt::Key_Return);
    QCOMPARE(focused(), form.txtCodigo);
    QCOMPARE(form.codigoEnters, 1);

    // After "Novo": Enter moves on, and the field never sees the key.
    setTag(form.txtCodigo, 0);
    QTest::keyClick(form.txtCodigo, Qt::Key_Return);
    QCOMPARE(focused(), form.txtNome);
    QCOMPARE(form.codigoEnters, 1);

    QTest::keyClick(form.txtNome, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(focused(), form.txtSexo);
    QTest::keyClick(form.txtSexo, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(focused(), form.txtNome);

    // A control that is not a tab stop is passed over.
    setTabStop(form.txtSexo, false);
    QTest::keyClick(form.txtNome, Qt::Key_Return);
    QCOMPARE(focused(), form.txtObsC);

    // The memo uses Enter itself: a new line.
    QTest::keyClicks(form.txtObsC, QStringLiteral("a"));
    QTest::keyClick(form.txtObsC, Qt::Key_Return);
    QTest::keyClicks(form.txtObsC, QStringLiteral("b"));
    QCOMPARE(focused(), form.txtObsC);
    QCOMPARE(form.txtObsC->toPlainText(), QStringLiteral("a\nb"));

    // With Ctrl the key goes on unchanged.
    form.txtNome->setFocus();
    QTest::keyClick(form.txtNome, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(focused(), form.txtNome);
}

void FormTest::enterAsTabSwitchedOff()
{
    TfrmFields form;
    form.setEnterAsTab(false);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.txtNome->setFocus();
    QTest::keyClick(form.txtNome, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), form.txtNome);
}

void FormTest::enterAsTabWithFormsOwnEventFilter()
{
    TfrmFiltering form;
    form.txtNome->installEventFilter(&form);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.txtNome->setFocus();
    QTest::keyClick(form.txtNome, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), form.txtSexo);
}

VORLU_QTEST_MAIN(FormTest)
#include "FormTest.moc"
