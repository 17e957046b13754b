#include "forms/untPaciente.h"

#include "assets/pictures/Pictures.h"
#include "data/Schema.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FormStorage.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPushButton>

namespace vorlu::forms {

namespace {

// A rectangle shape with a 2-pixel black pen along the inside of its edges.
class FrameShape final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const int w = width();
        const int h = height();
        painter.drawRect(0, 0, w, 2);
        painter.drawRect(0, h - 2, w, 2);
        painter.drawRect(0, 0, 2, h);
        painter.drawRect(w - 2, 0, 2, h);
    }
};

QPushButton* commandButton(QWidget* parent, const char* name, const QString& caption, const char* icon, int left)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 480, 100, 33);
    QFont font = button->font();
    font.setBold(true);
    font.setPixelSize(11);
    button->setFont(font);
    button->setIcon(QIcon(assets::picturePath(icon)));
    // Commands are reached by the mouse; Tab and Enter walk the fields only.
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmPaciente::TfrmPaciente()
{
    setObjectName(QStringLiteral("frmPaciente"));
    setWindowTitle(kCaption);
    // Single border, system menu and minimise button; never resized or maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowIcon(QIcon(assets::picturePath(assets::kProgramIcon)));

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(13);
    setFont(font);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    Shape1 = new FrameShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(0, 0, kClientWidth, kClientHeight);

    btnConfirmar = commandButton(this, "btnConfirmar", QStringLiteral("Confirmar"), "confirmar.png", 431);
    btnFechar = commandButton(this, "btnFechar", QStringLiteral("Fechar"), "fechar.png", 682);
    connect(btnFechar, &QPushButton::clicked, this, &TfrmPaciente::btnFecharClick);

    BancoDeDados.setDefaultTransaction(&Transacao);
    datRegistros.setFieldDefs(data::patientFieldDefs());
    datRegistros.afterOpen = [this] { datRegistrosAfterOpen(); };

    // The designed position, until a stored placement says otherwise: centred on the screen
    // the program starts on.
    toolkit::centreOnScreen(*this);
    toolkit::attachFormStorage(*this, "TfrmPaciente");
}

TfrmPaciente::~TfrmPaciente() = default;

void TfrmPaciente::FormCreate()
{
    MudaEstadoCampos(false);
    StreamFoto.clear();
}

void TfrmPaciente::MudaEstadoCampos(bool editing)
{
    CorrigeBotoes(editing);
}

void TfrmPaciente::CorrigeBotoes(bool editing)
{
    btnConfirmar->setEnabled(editing);
    btnFechar->setEnabled(!editing);
}

void TfrmPaciente::datRegistrosAfterOpen()
{
    CorrigeBotoes(false);
}

void TfrmPaciente::btnFecharClick()
{
    // Only asks; the close rule decides.
    close();
}

void TfrmPaciente::FormShow()
{
    startup_.run();
}

toolkit::TCloseAction TfrmPaciente::FormClose(toolkit::TCloseAction)
{
    using namespace toolkit;
    if (btnConfirmar->isEnabled()) {
        MessageDlg(QStringLiteral("Impossível fechar a Janela com os Dados em Edição."), mtInformation, mbOK);
        return caNone;
    }
    if (MessageDlg(QStringLiteral("Tem certeza de que deseja encerrar o programa"), mtConfirmation, mbYesNo) == mrYes)
        return caFree;
    return caNone;
}

} // namespace vorlu::forms
