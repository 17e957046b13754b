#include "forms/untLocalizaPaciente.h"

#include "assets/icons/CommandIcons.h"

#include "assets/pictures/Pictures.h"
#include "forms/search/PatientResultModel.h"
#include "forms/search/SearchStatement.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/FormStorage.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QValidator>

#include <algorithm>
#include <limits>
#include <utility>

namespace vorlu::forms {
namespace {

// Runs a handler for an event Qt delivered. An error goes to the general error report here, at
// the handler's edge, instead of unwinding through Qt's own frames, which are built without
// exception support (their locals would be left behind); the event loop goes on either way.
template <class Handler>
void reportingErrors(Handler&& handler)
{
    try {
        handler();
    } catch (...) {
        toolkit::HandleException();
    }
}

// Hands one control's events to a handler of the form; the handler returns true to consume the
// event (an event whose handler failed is consumed). Owned by the control it watches.
class EventHook final : public QObject {
public:
    EventHook(QObject* target, std::function<bool(QEvent&)> handler)
        : QObject(target), handler_(std::move(handler))
    {
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        bool consumed = true;
        reportingErrors([&] { consumed = handler_(*event); });
        return consumed;
    }

private:
    std::function<bool(QEvent&)> handler_;
};

// Turns letters to upper case as they are typed or pasted.
class UpperCaseValidator final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        for (QChar& c : input) {
            // The micro sign's capital (Greek Mu) has no place in the database's character set.
            if (c != QChar(0x00B5))
                c = c.toUpper();
        }
        return Acceptable;
    }
};

bool isEnter(const QKeyEvent& key) { return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter; }

QFont formFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont boldFont(int pointSize)
{
    QFont font = formFont();
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

void paintWhite(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

constexpr int kPanel1Height = 56;
constexpr int kPanel2Height = 50;
// Column widths of the list, as proportions of its width.
constexpr int kCodeColumnWeight = 60;
constexpr int kNameColumnWeight = 500;

} // namespace

TfrmLocalizaPaciente::TfrmLocalizaPaciente(data::Connection& BancoDeDados, data::Transaction& Transacao,
                                           SelecionarPaciente Selecionar, QWidget* parent)
    : TForm(parent), qryPacientes(BancoDeDados, Transacao), selecionar_(std::move(Selecionar))
{
    setObjectName(QStringLiteral("frmLocalizaPaciente"));
    setWindowTitle(QStringLiteral("Localização de Pacientes"));
    // A fixed border and a title without buttons: only the two commands close the dialog.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    move(kDesignedPosition);
    setFont(formFont());
    paintWhite(this);

    qryPacientes.setSql({kEmptySearchStatement});
    buildControls();
    // Restored when shown (over the designed position), saved when closed.
    toolkit::attachFormStorage(*this, kPlacementSection);
}

TfrmLocalizaPaciente::~TfrmLocalizaPaciente()
{
    // The list lets go of the statement before the statement goes.
    if (dtsPacientes)
        dtsPacientes->clear();
}

void TfrmLocalizaPaciente::buildControls()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    paintWhite(Panel1);

    txtBusca = new QLineEdit(Panel1);
    txtBusca->setObjectName(QStringLiteral("txtBusca"));
    txtBusca->setFont(boldFont(10));
    QPalette searchPalette = txtBusca->palette();
    searchPalette.setColor(QPalette::Text, QColor(0, 0, 128)); // navy
    txtBusca->setPalette(searchPalette);
    txtBusca->setValidator(new UpperCaseValidator(txtBusca));
    txtBusca->setMaxLength(std::numeric_limits<int>::max()); // no length limit, not Qt's 32767
    txtBusca->setGeometry(19, 9, 698, txtBusca->sizeHint().height());

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    // Plain text: "<ENTER>" is part of the hint, not markup.
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(QStringLiteral("Digite o NOME ou o CÓDIGO do paciente a ser localizado e pressione o <ENTER>"));
    Label1->setFont(boldFont(8));
    Label1->setAlignment(Qt::AlignCenter);
    {
        // 470 wide and centred; a font wider than the designed one widens it about its centre
        // instead of cutting the hint at both ends.
        const int width = std::max(470, Label1->sizeHint().width());
        Label1->setGeometry(175 + (470 - width) / 2, 34, width, Label1->sizeHint().height());
    }

    grdResultado = new QTableView(this);
    grdResultado->setObjectName(QStringLiteral("grdResultado"));
    dtsPacientes = new PatientResultModel(this);
    dtsPacientes->setObjectName(QStringLiteral("dtsPacientes"));
    grdResultado->setModel(dtsPacientes);
    grdResultado->setGeometry(12, 60, 711, 332);
    grdResultado->setFont(formFont());
    grdResultado->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdResultado->setSelectionMode(QAbstractItemView::SingleSelection);
    grdResultado->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdResultado->setTabKeyNavigation(false); // Tab leaves the list for the box
    grdResultado->setWordWrap(false);
    grdResultado->setCornerButtonEnabled(false);
    grdResultado->setFrameShape(QFrame::Box);
    grdResultado->setFrameShadow(QFrame::Plain);
    {
        QPalette framePalette = grdResultado->palette();
        framePalette.setColor(QPalette::WindowText, QColor(160, 160, 160)); // a thin grey line, not black
        grdResultado->setPalette(framePalette);
    }
    grdResultado->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grdResultado->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        QHeaderView* rows = grdResultado->verticalHeader();
        rows->hide();
        rows->setSectionResizeMode(QHeaderView::Fixed);
        rows->setMinimumSectionSize(1);
        rows->setDefaultSectionSize(grdResultado->fontMetrics().height() + 5);

        QHeaderView* header = grdResultado->horizontalHeader();
        header->setFont(boldFont(8));
        header->setDefaultAlignment(Qt::AlignCenter);
        header->setHighlightSections(false);
        header->setSectionsClickable(false);
        header->setSectionsMovable(false);
        header->setStretchLastSection(true);
        header->setSectionResizeMode(PatientResultModel::CodeColumn, QHeaderView::Fixed);
        header->setSectionResizeMode(PatientResultModel::NameColumn, QHeaderView::Interactive);
        header->setStyleSheet(QStringLiteral(
            "QHeaderView::section { background-color: rgb(253, 251, 244); font-weight: bold; padding: 2px;"
            " border: none; border-right: 1px solid rgb(200, 196, 184); border-bottom: 1px solid rgb(200, 196, 184); }"));
    }

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    paintWhite(Panel2);

    // The record screen's pictures of the same two commands.
    const auto makeButton = [this](const char* name, const QString& caption, assets::CommandIcon picture) {
        auto* button = new QPushButton(caption, Panel2);
        button->setObjectName(QString::fromLatin1(name));
        button->setFont(boldFont(8));
        button->setIcon(assets::commandIcon(picture));
        button->setIconSize(QSize(24, 24));
        button->setFocusPolicy(Qt::NoFocus); // not a tab stop, and a click leaves the focus where it was
        button->setAutoDefault(false);
        return button;
    };
    btnConfirmar = makeButton("btnConfirmar", QStringLiteral("Confirmar"), assets::CommandIcon::Confirmar);
    btnCancelar = makeButton("btnCancelar", QStringLiteral("Cancelar"), assets::CommandIcon::Cancelar);
    connect(btnConfirmar, &QPushButton::clicked, this, [this] { reportingErrors([this] { btnConfirmarClick(); }); });
    connect(btnCancelar, &QPushButton::clicked, this, [this] { reportingErrors([this] { btnCancelarClick(); }); });

    // Tab moves between the box and the list only.
    setTabOrder(txtBusca, grdResultado);

    new EventHook(txtBusca, [this](QEvent& event) {
        return event.type() == QEvent::KeyPress && txtBuscaKeyDown(static_cast<QKeyEvent&>(event));
    });
    new EventHook(grdResultado, [this](QEvent& event) {
        return event.type() == QEvent::KeyPress && grdResultadoKeyDown(static_cast<QKeyEvent&>(event));
    });
    // A double-click anywhere in the rows' area, also below the last row or on an empty list.
    new EventHook(grdResultado->viewport(), [this](QEvent& event) {
        if (event.type() == QEvent::Resize)
            fitColumns();
        if (event.type() != QEvent::MouseButtonDblClick)
            return false;
        if (static_cast<QMouseEvent&>(event).button() != Qt::LeftButton)
            return false;
        grdResultadoDblClick();
        return true;
    });

    placeControls();
}

void TfrmLocalizaPaciente::placeControls()
{
    const int w = width();
    Panel1->setGeometry(0, 0, w, kPanel1Height);
    txtBusca->setGeometry(19, 9, w - 19 - (kClientWidth - 19 - 698), txtBusca->height());
    Panel2->setGeometry(0, height() - kPanel2Height, w, kPanel2Height);
    // Both buttons keep their distance from the right edge.
    btnConfirmar->setGeometry(w - (kClientWidth - 525), 10, 100, 33);
    btnCancelar->setGeometry(w - (kClientWidth - 629), 10, 100, 33);
    fitColumns();
}

void TfrmLocalizaPaciente::fitColumns()
{
    // The two widths are proportions of the list's width; the name column takes the rest.
    const int available = grdResultado->viewport()->width();
    grdResultado->horizontalHeader()->resizeSection(
        PatientResultModel::CodeColumn, available * kCodeColumnWeight / (kCodeColumnWeight + kNameColumnWeight));
}

void TfrmLocalizaPaciente::resizeEvent(QResizeEvent* event)
{
    TForm::resizeEvent(event);
    placeControls();
}

void TfrmLocalizaPaciente::FormCreate()
{
    // Reported like any handler's error; the dialog is still created and shown, its list empty.
    try {
        qryPacientes.open();
        showResult();
    } catch (...) {
        toolkit::HandleException();
    }
}

void TfrmLocalizaPaciente::FormShow()
{
    txtBusca->setFocus();
}

toolkit::TCloseAction TfrmLocalizaPaciente::FormClose(toolkit::TCloseAction)
{
    return toolkit::caFree;
}

void TfrmLocalizaPaciente::FormDestroy()
{
    if (frmLocalizaPaciente.get() == this)
        frmLocalizaPaciente.clear();
}

void TfrmLocalizaPaciente::showResult()
{
    dtsPacientes->attach(qryPacientes);
    if (dtsPacientes->rowCount() > 0)
        grdResultado->setCurrentIndex(dtsPacientes->index(0, PatientResultModel::CodeColumn));
}

void TfrmLocalizaPaciente::Search()
{
    // The old result goes first: a search that fails leaves the list empty, not stale.
    dtsPacientes->clear();
    qryPacientes.setSql(searchStatement(txtBusca->text().toStdString()));
    qryPacientes.open();
    showResult();
    if (dtsPacientes->rowCount() == 0) {
        txtBusca->selectAll();
    } else {
        grdResultado->setFocus();
    }
}

std::int32_t TfrmLocalizaPaciente::currentCode() const
{
    const QModelIndex current = grdResultado->currentIndex();
    return current.isValid() ? dtsPacientes->code(current.row()) : 0;
}

void TfrmLocalizaPaciente::Confirm()
{
    // After a failed search the list holds no result: nothing is loaded, the dialog still closes.
    const std::int32_t code = currentCode();
    if (code > 0 && selecionar_)
        selecionar_(code); // a failure here keeps the dialog open: the close comes after
    close();
}

bool TfrmLocalizaPaciente::txtBuscaKeyDown(QKeyEvent& key)
{
    if (!isEnter(key))
        return false;
    Search();
    return true;
}

bool TfrmLocalizaPaciente::grdResultadoKeyDown(QKeyEvent& key)
{
    if (!isEnter(key))
        return false;
    btnConfirmar->click();
    return true;
}

void TfrmLocalizaPaciente::grdResultadoDblClick() { btnConfirmar->click(); }

void TfrmLocalizaPaciente::btnConfirmarClick() { Confirm(); }

void TfrmLocalizaPaciente::btnCancelarClick() { close(); }

void ShowLocalizaPaciente(data::Connection& BancoDeDados, data::Transaction& Transacao, SelecionarPaciente Selecionar,
                          QWidget* owner)
{
    if (!frmLocalizaPaciente)
        frmLocalizaPaciente.create(BancoDeDados, Transacao, std::move(Selecionar), owner);
    frmLocalizaPaciente->ShowModal();
}

} // namespace vorlu::forms
