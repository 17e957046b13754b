#include "forms/untBD.h"

#include "toolkit/Dialogs.h"
#include "toolkit/FormStorage.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace vorlu::forms {

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* control = new QLabel(text, parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setTextFormat(Qt::PlainText);
    return control;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* control = new QPushButton(caption, parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(place);
    // Neither is the dialog's default or cancel button. A focused button still takes Enter,
    // as a focused push button does on Windows.
    control->setDefault(false);
    control->setAutoDefault(true);
    return control;
}

} // namespace

TfrmBD::TfrmBD()
{
    setObjectName(QStringLiteral("frmBD"));
    setWindowTitle(kCaption);
    // A fixed single border and a title bar without any button or window menu.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    setOpensCentred(*this, true);

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    Label2 = label(this, "Label2", QStringLiteral("Banco de Dados não Configurado ou não Acessível"));
    Label2->setGeometry(8, 7, 569, 20);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont heading = font;
    heading.setPixelSize(16);
    heading.setBold(true);
    heading.setUnderline(true);
    Label2->setFont(heading);

    Label3 = label(this, "Label3", QStringLiteral("Não se esqueça de liberar a porta TCPIP 3050 no firewall do servidor"));
    Label3->setGeometry(8, 29, 569, 20);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont warning = font;
    warning.setBold(true);
    warning.setUnderline(true);
    Label3->setFont(warning);
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label3->setPalette(red);

    Label1 = label(this, "Label1", QStringLiteral("Caminho do Banco de Dados:"));
    Label1->move(8, 61);
    Label1->adjustSize();

    txtCaminho = new QLineEdit(this);
    txtCaminho->setObjectName(QStringLiteral("txtCaminho"));
    txtCaminho->setGeometry(160, 57, 417, 21);

    Sim = button(this, "Sim", QStringLiteral("Confirmar"), QRect(328, 89, 121, 25));
    Nao = button(this, "Nao", QStringLiteral("Cancelar"), QRect(456, 89, 121, 25));
    connect(Sim, &QPushButton::clicked, this, &TfrmBD::SimClick);
    setButtonModalResult(Nao, toolkit::mrNo);

    setTabOrder(txtCaminho, Sim);
    setTabOrder(Sim, Nao);
    txtCaminho->setFocus();
}

TfrmBD::~TfrmBD() = default;

void TfrmBD::FormShow()
{
    if (toolkit::opensCentred(*this))
        toolkit::centreOnScreen(*this);
    txtCaminho->setFocus();
}

void TfrmBD::SimClick()
{
    const std::string location = txtCaminho->text().toStdString();
    try {
        // An earlier successful test ended the dialog, so BD is not connected here; disconnect
        // anyway, since a connected component refuses a new location.
        BD.setConnected(false);
        BD.setDatabaseName(location);
        BD.open();
    } catch (...) {
        // The failure's own text is not shown; the box belongs to no window.
        toolkit::SystemMessageBox(nullptr, kFailureText, kFailureTitle, toolkit::MB_OK | toolkit::MB_ICONERROR);
        return;
    }
    setModalResult(toolkit::mrYes);
}

toolkit::TCloseAction TfrmBD::FormClose(toolkit::TCloseAction)
{
    return toolkit::caFree;
}

} // namespace vorlu::forms
