#include "toolkit/Dialogs.h"
#include "toolkit/testing/ModalDriver.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <algorithm>

using namespace vorlu::toolkit;
using vorlu::toolkit::testing::RecordingDialogs;
using vorlu::toolkit::testing::pressKey;
using vorlu::toolkit::testing::whenModalOpens;

Q_DECLARE_METATYPE(vorlu::toolkit::TMsgDlgType)
Q_DECLARE_METATYPE(vorlu::toolkit::TMsgDlgButtons)

namespace {

// What a real message box showed while it was open.
struct SeenBox {
    bool opened = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList captions; // left to right
    QString focusedCaption;
    Qt::TextFormat format = Qt::AutoText;
};

SeenBox look(QWidget* modal)
{
    SeenBox seen;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box)
        return seen;
    seen.opened = true;
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    seen.format = box->textFormat();
    QList<QAbstractButton*> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(),
              [](QAbstractButton* a, QAbstractButton* b) { return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x(); });
    for (QAbstractButton* button : buttons)
        seen.captions << button->text();
    if (auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget()))
        seen.focusedCaption = focused->text();
    return seen;
}

// Answers the next real box with a key, after looking at it.
void answerWithKey(SeenBox& seen, int key)
{
    whenModalOpens([&seen, key](QWidget* modal) {
        (void)QTest::qWaitForWindowActive(modal);
        seen = look(modal);
        pressKey(modal, key);
    });
}

QMessageBox* openBox()
{
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void messageDlgShowsKindAndButtons_data();
    void messageDlgShowsKindAndButtons();
    void messageDlgEnterAndEscape_data();
    void messageDlgEnterAndEscape();
    void messageDlgButtonClickAnswersIt();
    void messageDlgTextIsNeverMarkup();

    void systemBoxShowsItsOwnTitle();
    void systemBoxYesNoIgnoresEscape();

    void recorderSeesWhatTheUserWouldSee();
    void recorderAnswersQueuedThenAsEnter();
    void recorderMapsSystemBoxFlags_data();
    void recorderMapsSystemBoxFlags();
    void recorderAnswersFileDialogs();
    void recorderRestoresThePreviousProvider();

    void nameFiltersFromPipeFilter_data();
    void nameFiltersFromPipeFilter();
};

void DialogsTest::messageDlgShowsKindAndButtons_data()
{
    QTest::addColumn<TMsgDlgType>("kind");
    QTest::addColumn<TMsgDlgButtons>("buttons");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("focused");

    const QStringList ok{QStringLiteral("OK")};
    const QStringList yesNo{QStringLiteral("&Sim"), QStringLiteral("&Não")};
    QTest::newRow("warning") << mtWarning << TMsgDlgButtons(mbOK) << "Atenção" << int(QMessageBox::Warning) << ok << "OK";
    QTest::newRow("error") << mtError << TMsgDlgButtons(mbOK) << "Erro" << int(QMessageBox::Critical) << ok << "OK";
    QTest::newRow("information") << mtInformation << TMsgDlgButtons(mbOK) << "Informação"
                                 << int(QMessageBox::Information) << ok << "OK";
    QTest::newRow("confirmation") << mtConfirmation << mbYesNo << "Confirme" << int(QMessageBox::Question) << yesNo
                                  << "&Sim";
}

void DialogsTest::messageDlgShowsKindAndButtons()
{
    QFETCH(TMsgDlgType, kind);
    QFETCH(TMsgDlgButtons, buttons);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QStringList, captions);
    QFETCH(QString, focused);

    SeenBox seen;
    answerWithKey(seen, Qt::Key_Return);
    MessageDlg(QStringLiteral("Impossível fechar a Janela com os Dados em Edição."), kind, buttons);

    QVERIFY(seen.opened);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, QStringLiteral("Impossível fechar a Janela com os Dados em Edição."));
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.captions, captions);
    QCOMPARE(seen.focusedCaption, focused);
}

void DialogsTest::messageDlgEnterAndEscape_data()
{
    QTest::addColumn<TMsgDlgType>("kind");
    QTest::addColumn<TMsgDlgButtons>("buttons");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");

    QTest::newRow("OK box, Enter") << mtInformation << TMsgDlgButtons(mbOK) << int(Qt::Key_Return) << mrOk;
    QTest::newRow("OK box, keypad Enter") << mtWarning << TMsgDlgButtons(mbOK) << int(Qt::Key_Enter) << mrOk;
    QTest::newRow("OK box, Escape") << mtError << TMsgDlgButtons(mbOK) << int(Qt::Key_Escape) << mrOk;
    QTest::newRow("Yes/No box, Enter") << mtConfirmation << mbYesNo << int(Qt::Key_Return) << mrYes;
    QTest::newRow("Yes/No box, Escape") << mtConfirmation << mbYesNo << int(Qt::Key_Escape) << mrNo;
    QTest::newRow("Yes/No warning, Escape") << mtWarning << mbYesNo << int(Qt::Key_Escape) << mrNo;
}

void DialogsTest::messageDlgEnterAndEscape()
{
    QFETCH(TMsgDlgType, kind);
    QFETCH(TMsgDlgButtons, buttons);
    QFETCH(int, key);
    QFETCH(int, result);

    SeenBox seen;
    answerWithKey(seen, key);
    const int answer = MessageDlg(QStringLiteral("Tem certeza de que deseja encerrar o programa"), kind, buttons);
    QVERIFY(seen.opened);
    QCOMPARE(answer, result);
}

void DialogsTest::messageDlgButtonClickAnswersIt()
{
    whenModalOpens([](QWidget* modal) {
        for (QAbstractButton* button : qobject_cast<QMessageBox*>(modal)->buttons()) {
            if (button->text() == QStringLiteral("&Não"))
                QTest::mouseClick(button, Qt::LeftButton);
        }
    });
    QCOMPARE(MessageDlg(QStringLiteral("Tem Certeza que Deseja Excluir esse Paciente Atual?"), mtConfirmation, mbYesNo),
             mrNo);
}

void DialogsTest::messageDlgTextIsNeverMarkup()
{
    SeenBox seen;
    answerWithKey(seen, Qt::Key_Return);
    MessageDlg(QStringLiteral("<b>column</b> unknown"), mtError, mbOK);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.text, QStringLiteral("<b>column</b> unknown"));
}

void DialogsTest::systemBoxShowsItsOwnTitle()
{
    SeenBox seen;
    answerWithKey(seen, Qt::Key_Escape);
    const int answer = SystemMessageBox(
        nullptr, QStringLiteral("Por favor verifique se o caminho foi Informado Corretamente."),
        QStringLiteral("A conexão com o Banco de Dados não foi Estabelecida."), MB_OK | MB_ICONERROR);
    QVERIFY(seen.opened);
    QCOMPARE(seen.title, QStringLiteral("A conexão com o Banco de Dados não foi Estabelecida."));
    QCOMPARE(seen.text, QStringLiteral("Por favor verifique se o caminho foi Informado Corretamente."));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.captions, QStringList{QStringLiteral("OK")});
    QCOMPARE(answer, 1); // IDOK
}

void DialogsTest::systemBoxYesNoIgnoresEscape()
{
    bool stillOpenAfterEscape = false;
    whenModalOpens([&](QWidget* modal) {
        (void)QTest::qWaitForWindowActive(modal);
        pressKey(modal, Qt::Key_Escape);
        stillOpenAfterEscape = openBox() == modal && modal->isVisible();
        pressKey(modal, Qt::Key_Return);
    });
    const int answer = SystemMessageBox(nullptr, QStringLiteral("Continuar?"), QStringLiteral("Vorlu"),
                                        MB_YESNO | MB_ICONQUESTION);
    QVERIFY(stillOpenAfterEscape);
    QCOMPARE(answer, 6); // IDYES, the first button
}

void DialogsTest::recorderSeesWhatTheUserWouldSee()
{
    RecordingDialogs dialogs;
    MessageDlg(QStringLiteral("Impossível excluir um Paciente com alguma consulta Cadastrada."), mtInformation, mbOK);
    MessageDlg(QStringLiteral("Tem Certeza que Deseja Excluir esse Paciente Atual?"), mtConfirmation, mbYesNo);

    QCOMPARE(dialogs.count(), 2);
    const MessageRequest& info = dialogs.messages().at(0);
    QCOMPARE(info.source, MessageSource::MessageDlg);
    QCOMPARE(info.kind, mtInformation);
    QCOMPARE(info.title, QStringLiteral("Informação"));
    QCOMPARE(info.text, QStringLiteral("Impossível excluir um Paciente com alguma consulta Cadastrada."));
    QCOMPARE(info.buttons, TMsgDlgButtons(mbOK));
    QCOMPARE(info.defaultResult, mrOk);
    QCOMPARE(info.escapeResult, mrOk);

    const MessageRequest& confirm = dialogs.last();
    QCOMPARE(confirm.title, QStringLiteral("Confirme"));
    QCOMPARE(confirm.buttons, mbYesNo);
    QCOMPARE(confirm.defaultResult, mrYes);
    QCOMPARE(confirm.escapeResult, mrNo);
}

void DialogsTest::recorderAnswersQueuedThenAsEnter()
{
    RecordingDialogs dialogs;
    dialogs.answer(mrNo);
    QCOMPARE(MessageDlg(QStringLiteral("a"), mtConfirmation, mbYesNo), mrNo);
    QCOMPARE(MessageDlg(QStringLiteral("b"), mtConfirmation, mbYesNo), mrYes); // queue empty: Enter
    QCOMPARE(MessageDlg(QStringLiteral("c"), mtWarning, mbOK), mrOk);

    QString seenWhileOpen;
    dialogs.onMessage([&](const MessageRequest& request) {
        seenWhileOpen = request.text;
        return mrNo;
    });
    QCOMPARE(MessageDlg(QStringLiteral("d"), mtConfirmation, mbYesNo), mrNo);
    QCOMPARE(seenWhileOpen, QStringLiteral("d"));
    QCOMPARE(dialogs.texts(), (QStringList{"a", "b", "c", "d"}));
    QCOMPARE(dialogs.pendingAnswers(), 0);
}

void DialogsTest::recorderMapsSystemBoxFlags_data()
{
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<TMsgDlgType>("kind");
    QTest::addColumn<TMsgDlgButtons>("buttons");
    QTest::addColumn<int>("enter");
    QTest::addColumn<int>("escape");

    QTest::newRow("ok, error") << (MB_OK | MB_ICONERROR) << mtError << TMsgDlgButtons(mbOK) << mrOk << mrOk;
    QTest::newRow("ok, information") << (MB_OK | MB_ICONINFORMATION) << mtInformation << TMsgDlgButtons(mbOK) << mrOk
                                     << mrOk;
    QTest::newRow("ok, no icon") << MB_OK << mtCustom << TMsgDlgButtons(mbOK) << mrOk << mrOk;
    QTest::newRow("yes/no, question") << (MB_YESNO | MB_ICONQUESTION) << mtConfirmation << mbYesNo << mrYes << mrNone;
    QTest::newRow("ok/cancel, warning") << (MB_OKCANCEL | MB_ICONWARNING) << mtWarning
                                        << (TMsgDlgButtons(mbOK) | mbCancel) << mrOk << mrCancel;
}

void DialogsTest::recorderMapsSystemBoxFlags()
{
    QFETCH(unsigned, flags);
    QFETCH(TMsgDlgType, kind);
    QFETCH(TMsgDlgButtons, buttons);
    QFETCH(int, enter);
    QFETCH(int, escape);

    RecordingDialogs dialogs;
    SystemMessageBox(nullptr, QStringLiteral("texto"), QStringLiteral("título próprio"), flags);
    const MessageRequest& box = dialogs.last();
    QCOMPARE(box.source, MessageSource::SystemMessageBox);
    QCOMPARE(box.title, QStringLiteral("título próprio"));
    QCOMPARE(box.text, QStringLiteral("texto"));
    QCOMPARE(box.kind, kind);
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.defaultResult, enter);
    QCOMPARE(box.escapeResult, escape);
    QVERIFY(box.owner.isNull());
}

void DialogsTest::recorderAnswersFileDialogs()
{
    RecordingDialogs dialogs;
    dialogs.answerFile(QStringLiteral("/tmp/foto.jpg"));
    FileOpenRequest request;
    request.filter = QStringLiteral("JPEG Bitmap (JPG;JPEG)|*.jpg;*.jpeg");
    request.fileName = QStringLiteral("/tmp/anterior.jpg");
    bool customized = false;
    request.customize = [&](QFileDialog&) { customized = true; };

    QCOMPARE(GetOpenFileName(request), QStringLiteral("/tmp/foto.jpg"));
    QCOMPARE(GetOpenFileName(request), QString()); // nothing queued: cancelled
    QCOMPARE(dialogs.fileRequests().size(), 2);
    QCOMPARE(dialogs.fileRequests().at(0).filter, QStringLiteral("JPEG Bitmap (JPG;JPEG)|*.jpg;*.jpeg"));
    QCOMPARE(dialogs.fileRequests().at(0).fileName, QStringLiteral("/tmp/anterior.jpg"));
    QVERIFY(!customized);
    QVERIFY(dialogs.isEmpty()); // no message box
}

void DialogsTest::recorderRestoresThePreviousProvider()
{
    DialogProvider* real = &dialogProvider();
    {
        RecordingDialogs outer;
        {
            RecordingDialogs inner;
            MessageDlg(QStringLiteral("inner"), mtWarning, mbOK);
            QCOMPARE(inner.count(), 1);
        }
        MessageDlg(QStringLiteral("outer"), mtWarning, mbOK);
        QCOMPARE(outer.texts(), QStringList{QStringLiteral("outer")});
    }
    QCOMPARE(&dialogProvider(), real);
}

void DialogsTest::nameFiltersFromPipeFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("photo") << "JPEG Bitmap (JPG;JPEG)|*.jpg;*.jpeg"
                           << QStringList{QStringLiteral("JPEG Bitmap (JPG;JPEG) (*.jpg *.jpeg)")};
    QTest::newRow("two entries") << "Imagens|*.jpg|Todos|*.*"
                                 << QStringList{QStringLiteral("Imagens (*.jpg)"), QStringLiteral("Todos (*.*)")};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("description without patterns") << "Imagens|" << QStringList{};
    QTest::newRow("odd trailing part") << "Imagens|*.jpg|Resto" << QStringList{QStringLiteral("Imagens (*.jpg)")};
}

void DialogsTest::nameFiltersFromPipeFilter()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(qtNameFilters(filter), expected);
}

VORLU_QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
