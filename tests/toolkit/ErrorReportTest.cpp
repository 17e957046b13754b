#include "toolkit/Application.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/testing/ModalDriver.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/QtUnwindLeakGuard.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace vorlu::toolkit;
using vorlu::toolkit::testing::QtUnwindLeakGuard;
using vorlu::toolkit::testing::RecordingDialogs;
using vorlu::toolkit::testing::pressKey;
using vorlu::toolkit::testing::whenModalOpens;

namespace {

const QString kTitle = QStringLiteral("Vorlu - Módulo Secretária");

// A widget whose own event handling fails.
class FailingWidget : public QWidget {
public:
    int keysSeen = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { throw std::runtime_error("Falha no clique"); }
    void keyPressEvent(QKeyEvent*) override
    {
        ++keysSeen;
        throw std::runtime_error("Falha na tecla");
    }
};

// An object whose event() override fails on a posted event.
class FailingReceiver : public QObject {
public:
    static inline const QEvent::Type kType = QEvent::Type(QEvent::registerEventType());

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == kType)
            throw std::runtime_error("Falha no evento");
        return QObject::event(e);
    }
};

class FailingFilter : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress)
            throw std::runtime_error("Falha no filtro");
        return false;
    }
};

void checkReport(const RecordingDialogs& dialogs, const QString& text)
{
    QCOMPARE(dialogs.count(), 1);
    const MessageRequest& report = dialogs.last();
    QCOMPARE(report.source, MessageSource::ErrorReport);
    QCOMPARE(report.kind, mtError);
    QCOMPARE(report.title, kTitle);
    QCOMPARE(report.text, text);
    QCOMPARE(report.buttons, TMsgDlgButtons(mbOK));
}

} // namespace

class ErrorReportTest : public QObject {
    Q_OBJECT

private slots:
    void fullStopRule_data();
    void fullStopRule();
    void exceptionTextIsUtf8();

    void slotErrorIsReportedAndLoopGoesOn();
    void eventOverrideErrorIsReported();
    void postedEventErrorIsReported();
    void timerErrorIsReportedAndTimerKeepsRunning();
    void eventFilterErrorIsReported();
    void nonStandardExceptionIsReported();

    void realReportBox();
};

void ErrorReportTest::fullStopRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("letter") << "Falha ao abrir" << "Falha ao abrir.";
    QTest::newRow("full stop") << "Falha ao abrir." << "Falha ao abrir.";
    QTest::newRow("exclamation") << "Falha!" << "Falha!";
    QTest::newRow("blank") << "Falha " << "Falha ";
    QTest::newRow("digit") << "Código 42" << "Código 42.";
    QTest::newRow("accented letter") << "Não é possível continuar até" << "Não é possível continuar até.";
    QTest::newRow("question mark (above the full stop)") << "Tem certeza?" << "Tem certeza?.";
    QTest::newRow("slash (just above)") << "C:/dados/" << "C:/dados/.";
    QTest::newRow("hyphen (just below)") << "abc-" << "abc-";
    QTest::newRow("comma") << "abc," << "abc,";
    QTest::newRow("closing quote") << "Tipo de dados inválido para 'CaminhoBD'" << "Tipo de dados inválido para 'CaminhoBD'";
    QTest::newRow("closing parenthesis") << "erro (335544345)" << "erro (335544345)";
    QTest::newRow("line break") << "linha\n" << "linha\n";
    QTest::newRow("character outside the basic plane") << "fim 😀" << "fim 😀.";
    QTest::newRow("empty") << "" << "";
}

void ErrorReportTest::fullStopRule()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(errorReportText(text), shown);
}

void ErrorReportTest::exceptionTextIsUtf8()
{
    QCOMPARE(exceptionText(std::make_exception_ptr(std::runtime_error("Impossível gravar para Vorlu.INI"))),
             QStringLiteral("Impossível gravar para Vorlu.INI"));
}

void ErrorReportTest::slotErrorIsReportedAndLoopGoesOn()
{
    RecordingDialogs dialogs;
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Novo"), &window);
    bool reached = false;
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] {
        ++clicks;
        reached = true;
        throw std::runtime_error("Falha de conexão");
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    {
        QtUnwindLeakGuard unwinding;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QVERIFY(reached);
    checkReport(dialogs, QStringLiteral("Falha de conexão."));

    // The loop and the button go on working.
    bool later = false;
    QTimer::singleShot(0, [&] { later = true; });
    QTRY_VERIFY(later);
    {
        QtUnwindLeakGuard unwinding;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(clicks, 2);
    QCOMPARE(dialogs.count(), 2);
}

void ErrorReportTest::eventOverrideErrorIsReported()
{
    RecordingDialogs dialogs;
    FailingWidget widget;
    widget.setFocusPolicy(Qt::StrongFocus);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));

    {
        QtUnwindLeakGuard unwinding;
        QTest::mousePress(&widget, Qt::LeftButton);
    }
    checkReport(dialogs, QStringLiteral("Falha no clique."));
    QTest::mouseRelease(&widget, Qt::LeftButton);

    dialogs.clear();
    QTest::keyClick(&widget, Qt::Key_A);
    QCOMPARE(widget.keysSeen, 1);
    checkReport(dialogs, QStringLiteral("Falha na tecla."));
}

void ErrorReportTest::postedEventErrorIsReported()
{
    RecordingDialogs dialogs;
    FailingReceiver receiver;
    QCoreApplication::postEvent(&receiver, new QEvent(FailingReceiver::kType));
    bool after = false;
    QTimer::singleShot(0, [&] { after = true; });
    QTRY_VERIFY(after);
    checkReport(dialogs, QStringLiteral("Falha no evento."));
}

void ErrorReportTest::timerErrorIsReportedAndTimerKeepsRunning()
{
    RecordingDialogs dialogs;
    QTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        throw std::runtime_error("Falha no relógio");
    });
    timer.start(1);
    QTRY_VERIFY(ticks >= 3);
    timer.stop();
    QCOMPARE(dialogs.count(), ticks);
    QCOMPARE(dialogs.last().text, QStringLiteral("Falha no relógio."));
    QCOMPARE(dialogs.last().title, kTitle);
}

void ErrorReportTest::eventFilterErrorIsReported()
{
    RecordingDialogs dialogs;
    QWidget widget;
    FailingFilter filter;
    widget.installEventFilter(&filter);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::keyClick(&widget, Qt::Key_B);
    checkReport(dialogs, QStringLiteral("Falha no filtro."));
}

void ErrorReportTest::nonStandardExceptionIsReported()
{
    RecordingDialogs dialogs;
    QTimer::singleShot(0, [] { throw 42; });
    QTRY_COMPARE(dialogs.count(), 1);
    QCOMPARE(dialogs.last().source, MessageSource::ErrorReport);
    QCOMPARE(dialogs.last().text, QStringLiteral("Erro desconhecido."));
}

void ErrorReportTest::realReportBox()
{
    QString title, text, iconText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList captions;
    whenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        iconText = box->windowIconText();
        for (QAbstractButton* button : box->buttons())
            captions << button->text();
        (void)QTest::qWaitForWindowActive(box);
        pressKey(box, Qt::Key_Escape);
    });
    bool handlerEnded = false;
    QTimer::singleShot(0, [&] {
        handlerEnded = true;
        throw std::runtime_error("Banco de dados indisponível");
    });
    QTRY_VERIFY(handlerEnded);
    QTRY_COMPARE(title, kTitle);
    QCOMPARE(text, QStringLiteral("Banco de dados indisponível."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(captions, QStringList{QStringLiteral("OK")});
    // The taskbar text of the box's own entry, while its caption stays the title alone.
    QCOMPARE(iconText, kTitle);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

VORLU_QTEST_MAIN(ErrorReportTest)
#include "ErrorReportTest.moc"
