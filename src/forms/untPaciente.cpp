#include "forms/untPaciente.h"

#include "PhotoCommands.h"
#include "PhotoView.h"
#include "assets/icons/CommandIcons.h"
#include "assets/pictures/Pictures.h"
#include "data/DatabaseError.h"
#include "data/Schema.h"
#include "forms/controls/DateEdit.h"
#include "forms/controls/FieldColor.h"
#include "forms/controls/IntegerEdit.h"
#include "forms/controls/MaskEdit.h"
#include "forms/controls/Memo.h"
#include "forms/controls/PickList.h"
#include "forms/controls/PickLists.h"
#include "forms/controls/TextEdit.h"
#include "forms/paciente/PatientStatements.h"
#include "forms/paciente/PhotoOpenDialog.h"
#include "forms/paciente/RecordRules.h"
#include "forms/paciente/RecordWidgets.h"
#include "forms/untLocalizaPaciente.h"
#include "toolkit/Controls.h"
#include "toolkit/Dialogs.h"
#include "toolkit/FormStorage.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include <limits>
#include <stdexcept>

namespace vorlu::forms {

using controls::setFieldColor;
using paciente::isFieldReadOnly;
using paciente::setFieldReadOnly;

namespace {

const QString kFontFamily = QStringLiteral("MS Sans Serif");
const QColor kNavy(0x00, 0x00, 0x80);

// Where "MS Sans Serif" is missing, the closest face that is there, with about the same widths.
void registerFontSubstitutes()
{
    static const bool done = [] {
        QFont::insertSubstitutions(kFontFamily, {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                                                 QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
        return true;
    }();
    (void)done;
}

QFont screenFont(int pixels, bool bold)
{
    QFont font(kFontFamily);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Field text: bold navy.
template <class T>
T* styledField(T* field, const char* name, int pixels = 13)
{
    field->setObjectName(QString::fromLatin1(name));
    field->setFont(screenFont(pixels, true));
    QPalette colours = field->palette();
    colours.setColor(QPalette::Text, kNavy);
    colours.setColor(QPalette::ButtonText, kNavy);
    field->setPalette(colours);
    return field;
}

QPushButton* commandButton(QWidget* parent, const char* name, const QString& caption, assets::CommandIcon icon, int left)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 480, 100, 33);
    button->setFont(screenFont(11, true));
    button->setIcon(assets::commandIcon(icon));
    button->setIconSize(QSize(20, 20));
    // Commands are reached by the mouse; Tab and Enter walk the fields only.
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

// Trimmed of leading and trailing blanks and control characters.
QString trimmed(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= u' ')
        ++start;
    while (end > start && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(start, end - start);
}

QString fieldText(data::Query& query, const char* column)
{
    return QString::fromStdString(query.fieldByName(column).asString());
}

} // namespace

TfrmPaciente::TfrmPaciente()
{
    registerFontSubstitutes();
    setObjectName(QStringLiteral("frmPaciente"));
    setWindowTitle(kCaption);
    // Single border, system menu and minimise button; never resized or maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowIcon(QIcon(assets::picturePath(assets::kProgramIcon)));

    setFont(screenFont(13, false));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    Shape1 = new paciente::FrameShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(0, 0, kClientWidth, kClientHeight);

    const QPalette system = QApplication::palette();
    CorAtiva1 = new paciente::ColorHolder(QStringLiteral("CorAtiva1"), system.color(QPalette::Base), this);
    CorAtiva2 = new paciente::ColorHolder(QStringLiteral("CorAtiva2"), system.color(QPalette::ToolTipBase), this);
    CorInaAtiva = new paciente::ColorHolder(QStringLiteral("CorInaAtiva"), QColor::fromRgb(kInactiveColour), this);

    buildPhoto();
    buildFields();
    buildCommands();
    setTabOrder();
    setEnterAsTab(true);

    dlgOpen_ = std::make_unique<paciente::PhotoOpenDialog>(this);

    BancoDeDados.setDefaultTransaction(&Transacao);
    datRegistros.setSql({paciente::kLoadByCode});
    datRegistros.setFieldDefs(data::patientFieldDefs());
    datRegistros.afterOpen = [this] { datRegistrosAfterOpen(); };

    // The designed position, until a stored placement says otherwise: centred on the screen
    // the program starts on.
    toolkit::centreOnScreen(*this);
    toolkit::attachFormStorage(*this, "TfrmPaciente");
}

TfrmPaciente::~TfrmPaciente() = default;

QLabel* TfrmPaciente::addLabel(const QString& caption, int left, int top, const QWidget* field)
{
    auto* label = new QLabel(caption, this);
    label->setFont(screenFont(13, true));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    label->setPalette(colours);
    label->move(left, top);
    label->adjustSize();
    labels_.append({field, label});
    return label;
}

QLabel* TfrmPaciente::labelOf(const QWidget* field) const
{
    for (const auto& [owner, label] : labels_) {
        if (owner == field)
            return label;
    }
    if (field == txtFone02 || field == txtFone03)
        return labelOf(txtFone01);
    return nullptr;
}

void TfrmPaciente::buildPhoto()
{
    txtFoto = new photo::PhotoView(this);
    txtFoto->setObjectName(QStringLiteral("txtFoto"));
    txtFoto->setGeometry(10, 14, 150, 198);
    txtFoto->setFocusPolicy(Qt::NoFocus);

    const auto photoButton = [this](const char* name, assets::CommandIcon icon, int left, const QString& tip) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 216, 72, 26);
        button->setIcon(assets::commandIcon(icon));
        button->setIconSize(QSize(16, 16));
        button->setToolTip(tip);
        button->setAutoDefault(false);
        button->setEnabled(false);
        return button;
    };
    btnAdicionaFoto = photoButton("btnAdicionaFoto", assets::CommandIcon::AdicionaFoto, 11, QStringLiteral("Adicionar foto"));
    btnRemoveFoto = photoButton("btnRemoveFoto", assets::CommandIcon::RemoveFoto, 88, QStringLiteral("Remover foto"));
    connect(btnAdicionaFoto, &QPushButton::clicked, this, &TfrmPaciente::btnAdicionaFotoClick);
    connect(btnRemoveFoto, &QPushButton::clicked, this, &TfrmPaciente::btnRemoveFotoClick);
}

void TfrmPaciente::buildFields()
{
    using namespace controls;
    const auto integerEdit = [this](const char* name) {
        auto* field = styledField(new IntegerEdit(this), name);
        field->setZeroEmpty(true);
        field->setAlignment(Qt::AlignCenter);
        return field;
    };
    const auto textEdit = [this](const char* name, CharCase charCase) {
        auto* field = styledField(new TextEdit(this), name);
        field->setCharCase(charCase);
        return field;
    };
    const auto pickList = [this](const char* name, const QStringList& items) {
        auto* field = styledField(new PickList(this), name);
        field->setItems(items);
        return field;
    };
    const auto maskEdit = [this](const char* name, const QString& mask) {
        return styledField(new MaskEdit(mask, this), name);
    };
    const auto memo = [this](const char* name, int pixels) {
        auto* field = styledField(new Memo(this), name, pixels);
        field->setCharCase(CharCase::Upper);
        field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        return field;
    };
    // A pick list's height is its natural one for the font.
    const auto placePick = [](PickList* field, int left, int top, int width) {
        field->setGeometry(left, top, width, field->sizeHint().height());
    };

    txtCodigo = integerEdit("txtCodigo");
    txtCodigo->setGeometry(228, 58, 67, 24);
    addLabel(QStringLiteral("Código:"), 169, 62, txtCodigo);

    txtNome = textEdit("txtNome", CharCase::Upper);
    txtNome->setGeometry(346, 58, 280, 24);
    addLabel(QStringLiteral("Nome:"), 297, 62, txtNome);

    txtSexo = pickList("txtSexo", sexItems());
    txtSexo->setAlignment(Qt::AlignCenter);
    placePick(txtSexo, 673, 58, 109);
    addLabel(QStringLiteral("Sexo:"), 629, 62, txtSexo);

    txtEtinia = pickList("txtEtinia", ethnicityItems());
    txtEtinia->setAlignment(Qt::AlignCenter);
    placePick(txtEtinia, 228, 85, 184);
    addLabel(QStringLiteral("Etnia:"), 183, 89, txtEtinia);

    txtNascimento = styledField(new DateEdit(this), "txtNascimento");
    txtNascimento->setGeometry(466, 85, 102, 24);
    addLabel(QStringLiteral("Nasc.:"), 418, 89, txtNascimento);
    connect(txtNascimento, &LineField::exited, this, &TfrmPaciente::txtNascimentoExit);

    txtIdade = integerEdit("txtIdade");
    txtIdade->setGeometry(620, 85, 38, 24);
    addLabel(QStringLiteral("Idade:"), 573, 89, txtIdade);

    txtPeso = integerEdit("txtPeso");
    txtPeso->setGeometry(744, 85, 38, 24);
    addLabel(QStringLiteral("Peso Prog.:"), 661, 89, txtPeso);

    txtEndereco = textEdit("txtEndereco", CharCase::Upper);
    txtEndereco->setGeometry(228, 111, 554, 24);
    addLabel(QStringLiteral("End.:"), 188, 115, txtEndereco);

    txtCidade = pickList("txtCidade", cityItems());
    placePick(txtCidade, 228, 137, 469);
    addLabel(QStringLiteral("Cidade:"), 169, 141, txtCidade);

    txtUF = pickList("txtUF", stateItems());
    placePick(txtUF, 734, 137, 48);
    addLabel(QStringLiteral("UF:"), 705, 141, txtUF);

    txtBairro = textEdit("txtBairro", CharCase::Upper);
    txtBairro->setGeometry(228, 163, 429, 24);
    addLabel(QStringLiteral("Bairro:"), 177, 167, txtBairro);

    txtCEP = maskEdit("txtCEP", MaskEdit::kPostalCodeMask);
    txtCEP->setGeometry(701, 163, 81, 24);
    addLabel(QStringLiteral("Cep:"), 663, 167, txtCEP);

    txtFone01 = maskEdit("txtFone01", MaskEdit::kPhoneMask);
    txtFone01->setGeometry(228, 189, 113, 24);
    addLabel(QStringLiteral("Fones:"), 176, 193, txtFone01);
    txtFone02 = maskEdit("txtFone02", MaskEdit::kPhoneMask);
    txtFone02->setGeometry(355, 189, 113, 24);
    txtFone03 = maskEdit("txtFone03", MaskEdit::kPhoneMask);
    txtFone03->setGeometry(481, 189, 113, 24);

    txtCelular = maskEdit("txtCelular", MaskEdit::kPhoneMask);
    txtCelular->setGeometry(661, 189, 121, 24);
    addLabel(QStringLiteral("Celular:"), 605, 193, txtCelular);

    txtEmail = textEdit("txtEmail", CharCase::Lower);
    txtEmail->setGeometry(228, 215, 240, 24);
    addLabel(QStringLiteral("Email:"), 180, 219, txtEmail);

    txtConvenio = textEdit("txtConvenio", CharCase::Upper);
    txtConvenio->setGeometry(542, 215, 240, 24);
    addLabel(QStringLiteral("Convênio:"), 470, 219, txtConvenio);

    txtObsC = memo("txtObsC", 13);
    txtObsC->setGeometry(121, 245, 661, 27);
    addLabel(QStringLiteral("Obs. Cadastral:"), 12, 250, txtObsC);

    txtObs = memo("txtObs", 11);
    txtObs->setGeometry(7, 301, 778, 174);
    txtObs->setReadOnly(true);
    addLabel(QStringLiteral("Prontuário (O Campo abaixo é uma Visualização do Prontuário. Para editá-lo entre na função "
                            "Consulta)"),
             11, 278, txtObs);

    txtInclusao = styledField(new DateEdit(this), "txtInclusao");
    txtInclusao->setGeometry(677, 13, 104, 24);
    addLabel(QStringLiteral("Inclusão:"), 609, 17, txtInclusao);

    patientFields_ = {txtInclusao, txtNome,   txtSexo,   txtEtinia, txtNascimento, txtPeso,
                      txtEndereco, txtCidade, txtUF,     txtBairro, txtCEP,        txtFone01,
                      txtFone02,   txtFone03, txtCelular, txtEmail, txtConvenio,   txtObsC};

    // The stored form definition: every field read-only in CorInaAtiva but the code field,
    // which takes a code in clInfoBk.
    for (QWidget* field : patientFields_) {
        setFieldReadOnly(field, true);
        setFieldColor(field, CorInaAtiva->SelectedColor());
    }
    for (QWidget* field : {static_cast<QWidget*>(txtIdade), static_cast<QWidget*>(txtObs)}) {
        setFieldReadOnly(field, true);
        setFieldColor(field, CorInaAtiva->SelectedColor());
    }
    setFieldColor(txtCodigo, CorAtiva2->SelectedColor());
    toolkit::setTag(txtCodigo, toolkit::kTagKeepsEnter);
    toolkit::setTag(txtObsC, toolkit::kTagKeepsEnter);
    toolkit::setTag(txtObs, toolkit::kTagKeepsEnter);
    toolkit::setTabStop(txtIdade, false);
    toolkit::setTabStop(txtInclusao, false);

    connect(txtCodigo, &LineField::keyDown, this, [this](QKeyEvent* key) {
        if (txtCodigoKeyDown(*key))
            key->accept();
    });
    connect(txtCodigo, &LineField::exited, this, &TfrmPaciente::txtCodigoExit);
}

void TfrmPaciente::buildCommands()
{
    using assets::CommandIcon;
    btnNovo = commandButton(this, "btnNovo", QStringLiteral("Novo"), CommandIcon::Novo, 10);
    btnAlterar = commandButton(this, "btnAlterar", QStringLiteral("Alterar"), CommandIcon::Alterar, 114);
    btnExcluir = commandButton(this, "btnExcluir", QStringLiteral("Excluir"), CommandIcon::Excluir, 218);
    btnLocalizar = commandButton(this, "btnLocalizar", QStringLiteral("Localizar"), CommandIcon::Localizar, 322);
    btnConfirmar = commandButton(this, "btnConfirmar", QStringLiteral("Confirmar"), CommandIcon::Confirmar, 431);
    btnCancelar = commandButton(this, "btnCancelar", QStringLiteral("Cancelar"), CommandIcon::Cancelar, 535);
    btnFechar = commandButton(this, "btnFechar", QStringLiteral("Fechar"), CommandIcon::Fechar, 682);
    btnAlterar->setEnabled(false);
    btnExcluir->setEnabled(false);
    btnConfirmar->setEnabled(false);
    btnCancelar->setEnabled(false);

    connect(btnNovo, &QPushButton::clicked, this, &TfrmPaciente::btnNovoClick);
    connect(btnAlterar, &QPushButton::clicked, this, &TfrmPaciente::btnAlterarClick);
    connect(btnExcluir, &QPushButton::clicked, this, &TfrmPaciente::btnExcluirClick);
    connect(btnLocalizar, &QPushButton::clicked, this, &TfrmPaciente::btnLocalizarClick);
    connect(btnConfirmar, &QPushButton::clicked, this, &TfrmPaciente::btnConfirmarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TfrmPaciente::btnCancelarClick);
    connect(btnFechar, &QPushButton::clicked, this, &TfrmPaciente::btnFecharClick);
}

void TfrmPaciente::setTabOrder()
{
    tabOrder_ = {txtCodigo,    txtNome,      txtSexo,     txtEtinia,       txtNascimento, txtIdade,    txtPeso,
                 txtEndereco,  txtCidade,    txtUF,       txtBairro,       txtCEP,        txtFone01,   txtFone02,
                 txtFone03,    txtCelular,   txtEmail,    txtConvenio,     txtObsC,       txtObs,      btnNovo,
                 btnAlterar,   btnExcluir,   btnLocalizar, btnConfirmar,   btnCancelar,   btnFechar,   txtFoto,
                 btnAdicionaFoto, btnRemoveFoto, txtInclusao, CorAtiva1,   CorAtiva2,     CorInaAtiva};
    for (qsizetype i = 0; i + 1 < tabOrder_.size(); ++i)
        QWidget::setTabOrder(tabOrder_[i], tabOrder_[i + 1]);
}

void TfrmPaciente::FormCreate()
{
    MudaEstadoCampos(false);
    StreamFoto.clear();
}

// ---- Loading, clearing and saving ----

void TfrmPaciente::Selecionar(std::int32_t code)
{
    datRegistros.close();
    datRegistros.paramByName("PAC_COD__").setAsInteger(code);
    datRegistros.open();

    StreamFoto.clear();
    datRegistros.fieldByName("PAC_FOT__").saveToStream(StreamFoto);
    StreamFoto.setPosition(0);
    photo::showStoredPhoto(*txtFoto, StreamFoto);

    txtInclusao->setDate(datRegistros.fieldByName("PAC_INC__").asDateTime());
    txtCodigo->setText(fieldText(datRegistros, "PAC_COD__"));
    txtNome->setText(fieldText(datRegistros, "PAC_NOM__"));
    txtSexo->setText(fieldText(datRegistros, "PAC_SEX__"));
    txtEtinia->setText(fieldText(datRegistros, "PAC_ETN__"));
    txtNascimento->setDate(datRegistros.fieldByName("PAC_NAS__").asDateTime());
    txtIdade->setValue(Calcula_Idade(txtNascimento->date(), DataServidor));
    // A weight another module wrote with decimals is shown and kept as that number; the
    // integer filter would otherwise turn 72,5 into 725.
    const data::Field& weight = datRegistros.fieldByName("PAC_PES__");
    if (weight.isNull())
        txtPeso->setText(QString());
    else
        txtPeso->setNumber(weight.asFloat());
    txtEndereco->setText(fieldText(datRegistros, "PAC_END__"));
    txtCidade->setText(fieldText(datRegistros, "PAC_CID__"));
    txtUF->setText(fieldText(datRegistros, "PAC_UF__"));
    txtBairro->setText(fieldText(datRegistros, "PAC_BAI__"));
    txtCEP->setText(fieldText(datRegistros, "PAC_CEP__"));
    txtFone01->setText(fieldText(datRegistros, "PAC_FON_1"));
    txtFone02->setText(fieldText(datRegistros, "PAC_FON_2"));
    txtFone03->setText(fieldText(datRegistros, "PAC_FON_3"));
    txtCelular->setText(fieldText(datRegistros, "PAC_CEL__"));
    txtEmail->setText(fieldText(datRegistros, "PAC_EMA__"));
    txtConvenio->setText(fieldText(datRegistros, "PAC_CON__"));
    txtObs->setText(fieldText(datRegistros, "PAC_OBS__"));
    txtObsC->setText(fieldText(datRegistros, "PAC_OBS_C"));
}

void TfrmPaciente::LimpaCampos()
{
    txtFoto->blank();
    txtInclusao->setDate(0);
    txtCodigo->setText(QString());
    txtNome->setText(QString());
    txtSexo->setText(QString());
    txtEtinia->setText(QString());
    txtNascimento->setDate(0);
    txtIdade->setText(QString());
    txtPeso->setText(QString());
    txtEndereco->setText(QString());
    txtCidade->setText(QString());
    txtUF->setText(QString());
    txtBairro->setText(QString());
    txtCEP->setText(QString());
    txtFone01->setText(QString());
    txtFone02->setText(QString());
    txtFone03->setText(QString());
    txtCelular->setText(QString());
    txtEmail->setText(QString());
    txtConvenio->setText(QString());
    txtObs->setText(QString());
    txtObsC->setText(QString());
}

void TfrmPaciente::checkTextsFit()
{
    struct TextField {
        QWidget* field;
        const char* column;
        QString text;
        QString name;
    };
    const auto nameOf = [this](QWidget* field) {
        QString caption = labelOf(field)->text();
        if (caption.endsWith(u':'))
            caption.chop(1);
        return caption;
    };
    const QList<TextField> texts = {
        {txtNome, "PAC_NOM__", txtNome->text(), nameOf(txtNome)},
        {txtSexo, "PAC_SEX__", txtSexo->text(), nameOf(txtSexo)},
        {txtEtinia, "PAC_ETN__", txtEtinia->text(), nameOf(txtEtinia)},
        {txtEndereco, "PAC_END__", txtEndereco->text(), nameOf(txtEndereco)},
        {txtCidade, "PAC_CID__", txtCidade->text(), nameOf(txtCidade)},
        {txtUF, "PAC_UF__", txtUF->text(), nameOf(txtUF)},
        {txtBairro, "PAC_BAI__", txtBairro->text(), nameOf(txtBairro)},
        {txtCEP, "PAC_CEP__", txtCEP->text(), nameOf(txtCEP)},
        {txtFone01, "PAC_FON_1", txtFone01->text(), QStringLiteral("Fone 1")},
        {txtFone02, "PAC_FON_2", txtFone02->text(), QStringLiteral("Fone 2")},
        {txtFone03, "PAC_FON_3", txtFone03->text(), QStringLiteral("Fone 3")},
        {txtCelular, "PAC_CEL__", txtCelular->text(), nameOf(txtCelular)},
        {txtEmail, "PAC_EMA__", txtEmail->text(), nameOf(txtEmail)},
        {txtConvenio, "PAC_CON__", txtConvenio->text(), nameOf(txtConvenio)},
        {txtObsC, "PAC_OBS_C", txtObsC->text(), nameOf(txtObsC)},
    };
    for (const TextField& entry : texts) {
        int width = 0;
        for (const auto& column : data::patientColumns()) {
            if (std::string_view(column.name) == entry.column)
                width = column.width;
        }
        const auto problem = paciente::columnTextProblem(entry.text.toStdString(), width,
                                                         "\"" + entry.name.toStdString() + "\"");
        if (problem) {
            entry.field->setFocus(Qt::OtherFocusReason);
            throw paciente::FieldTextError(*problem);
        }
    }
}

std::string TfrmPaciente::weightParameter() const
{
    if (txtPeso->holdsFraction())
        return paciente::numberParameterText(txtPeso->number());
    return txtPeso->text().toStdString();
}

void TfrmPaciente::Atualizar(std::int32_t target)
{
    // Nothing is built, sent or committed while a text cannot be stored as typed.
    checkTextsFit();

    photo::encodePhotoForSaving(*txtFoto, StreamFoto);

    qryAuxiliar.close();
    qryAuxiliar.setSql(paciente::updateStatement(target));
    const auto text = [this](const char* name, const QString& value) {
        qryAuxiliar.paramByName(name).setAsString(value.toStdString());
    };
    text("PAC_COD__", txtCodigo->text());
    qryAuxiliar.paramByName("PAC_INC__").setAsDate(txtInclusao->date());
    text("PAC_NOM__", txtNome->text());
    text("PAC_SEX__", txtSexo->text());
    text("PAC_ETN__", txtEtinia->text());
    qryAuxiliar.paramByName("PAC_NAS__").setAsDate(txtNascimento->date());
    qryAuxiliar.paramByName("PAC_PES__").setAsString(weightParameter());
    text("PAC_END__", txtEndereco->text());
    text("PAC_CID__", txtCidade->text());
    text("PAC_UF__", txtUF->text());
    text("PAC_BAI__", txtBairro->text());
    text("PAC_CEP__", txtCEP->text());
    text("PAC_FON_1", txtFone01->text());
    text("PAC_FON_2", txtFone02->text());
    text("PAC_FON_3", txtFone03->text());
    text("PAC_CEL__", txtCelular->text());
    text("PAC_EMA__", txtEmail->text());
    text("PAC_CON__", txtConvenio->text());
    text("PAC_OBS_C", txtObsC->text());
    qryAuxiliar.paramByName("PAC_FOT__").loadFromStream(StreamFoto);

    qryAuxiliar.execSql();
    // Another workstation may have deleted the patient meanwhile: committing an update of no
    // row would report a save that did not happen.
    if (qryAuxiliar.rowsAffected() == 0)
        throw std::runtime_error("Nada foi gravado: o paciente não existe mais no Banco de Dados; ele pode ter "
                                 "sido excluído em outra estação");
    Transacao.commit();

    Selecionar(paciente::StrToInt(txtCodigo->text().toStdString()));
}

void TfrmPaciente::InserirPaciente()
{
    setFieldReadOnly(txtCodigo, false);
    setFieldColor(txtCodigo, CorAtiva2->SelectedColor());
    toolkit::setTag(txtCodigo, 0);
    setFieldReadOnly(txtInclusao, false);
    setFieldColor(txtInclusao, CorAtiva1->SelectedColor());

    try {
        qryAuxiliar.close();
        qryAuxiliar.clearSql();
        qryAuxiliar.addSql(paciente::kNextCode);
        qryAuxiliar.open();
        const std::int64_t next = std::int64_t(qryAuxiliar.fieldByName("CODIGO").asInteger()) + 1;
        if (next > std::numeric_limits<std::int32_t>::max())
            throw std::runtime_error("Não há código livre para um novo paciente depois de "
                                     + std::to_string(next - 1));
        CodigoNovo = static_cast<std::int32_t>(next);

        qryAuxiliar.close();
        qryAuxiliar.clearSql();
        qryAuxiliar.addSql(paciente::stubInsertStatement(CodigoNovo));
        qryAuxiliar.execSql();
    } catch (...) {
        // The screen stays in browse mode: the code field loads by Enter again and the
        // inclusion date is read-only, as before "Novo".
        restoreBrowseCodeSettings();
        throw;
    }

    Selecionar(CodigoNovo);
}

void TfrmPaciente::restoreBrowseCodeSettings()
{
    toolkit::setTag(txtCodigo, toolkit::kTagKeepsEnter);
    setFieldReadOnly(txtInclusao, true);
    setFieldColor(txtInclusao, CorInaAtiva->SelectedColor());
}

std::int32_t TfrmPaciente::Calcula_Idade(data::DateTime birth, data::DateTime reference)
{
    return paciente::ageInWholeYears(birth, reference);
}

void TfrmPaciente::txtNascimentoExit()
{
    txtIdade->setValue(Calcula_Idade(txtNascimento->date(), DataServidor));
}

bool TfrmPaciente::txtCodigoKeyDown(QKeyEvent& key)
{
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    // Only while the field loads by Enter; after "Novo" Enter moves on (and a Ctrl+Enter, which
    // the form lets through, must not load over the new patient).
    if (toolkit::tag(txtCodigo) != toolkit::kTagKeepsEnter)
        return false;
    Selecionar(txtCodigo->value());
    txtCodigo->selectAll();
    return true;
}

// ---- Validation ----

bool TfrmPaciente::ValidaDados()
{
    const auto refuse = [](const QString& message, QWidget* field) {
        toolkit::MessageDlg(message, toolkit::mtInformation, toolkit::mbOK);
        field->setFocus(Qt::OtherFocusReason);
        return false;
    };
    if (txtInclusao->date() == 0)
        return refuse(QStringLiteral("Impossível Continuar. Data de Inclusão Inválida ou não Informada."), txtInclusao);
    if (trimmed(txtNome->text()).isEmpty())
        return refuse(QStringLiteral("Impossível Continuar. Nome Inválido ou não Informado."), txtNome);
    if (trimmed(txtSexo->text()).isEmpty())
        return refuse(QStringLiteral("Impossível Continuar. Sexo Inválido ou não Informado."), txtSexo);
    if (trimmed(txtEtinia->text()).isEmpty())
        return refuse(QStringLiteral("Impossível Continuar. Etnia Inválida ou não Informada."), txtEtinia);
    if (txtNascimento->date() == 0)
        return refuse(QStringLiteral("Impossível Continuar. Data de Nascimento Inválida ou não Informada."),
                      txtNascimento);
    // The number the field holds: a stored 0,5 passes as 0,5, not as the 5 its digits make.
    if (txtPeso->number() <= 0)
        return refuse(QStringLiteral("Impossível Continuar. Peso Programado Inválido ou não Informado."), txtPeso);
    return true;
}

void TfrmPaciente::txtCodigoExit()
{
    if (isFieldReadOnly(txtCodigo) || !btnConfirmar->isEnabled())
        return;
    const QString code = txtCodigo->text();
    if (trimmed(code).isEmpty())
        return;
    qryAuxiliar.close();
    qryAuxiliar.clearSql();
    qryAuxiliar.addSql(paciente::duplicateCodeStatement(code.toStdString(), txtNome->text().toStdString()));
    qryAuxiliar.open();
    if (!qryAuxiliar.isEmpty()) {
        toolkit::MessageDlg(QStringLiteral("O código informado já esta sendo utilizado pelo paciente ")
                                + fieldText(qryAuxiliar, "PAC_NOM__") + QStringLiteral("."),
                            toolkit::mtInformation, toolkit::mbOK);
        txtCodigo->setFocus(Qt::OtherFocusReason);
    }
}

// ---- Modes ----

bool TfrmPaciente::patientLoaded() const
{
    return datRegistros.active() && !datRegistros.isEmpty();
}

void TfrmPaciente::MudaEstadoCampos(bool editing)
{
    const QColor fieldColour = editing ? CorAtiva1->SelectedColor() : CorInaAtiva->SelectedColor();
    const QColor codeColour = editing ? CorInaAtiva->SelectedColor() : CorAtiva2->SelectedColor();
    setFieldReadOnly(txtCodigo, editing);
    toolkit::setTabStop(txtCodigo, !editing);
    for (QWidget* field : patientFields_)
        setFieldReadOnly(field, !editing);
    btnAdicionaFoto->setEnabled(editing);
    btnRemoveFoto->setEnabled(editing);
    setFieldColor(txtCodigo, codeColour);
    for (QWidget* field : patientFields_)
        setFieldColor(field, fieldColour);
    CorrigeBotoes(editing);
}

void TfrmPaciente::CorrigeBotoes(bool editing)
{
    const bool loaded = patientLoaded();
    btnNovo->setEnabled(!editing);
    btnAlterar->setEnabled(!editing && loaded);
    btnExcluir->setEnabled(!editing && loaded);
    btnLocalizar->setEnabled(!editing);
    btnConfirmar->setEnabled(editing);
    btnCancelar->setEnabled(editing);
    btnFechar->setEnabled(!editing);
}

void TfrmPaciente::datRegistrosAfterOpen()
{
    CorrigeBotoes(false);
}

// ---- Commands ----

void TfrmPaciente::btnNovoClick()
{
    InserirPaciente();
    MudaEstadoCampos(true);
    setFieldReadOnly(txtCodigo, false);
    toolkit::setTabStop(txtCodigo, true);
    toolkit::setTag(txtCodigo, 0);
    setFieldColor(txtCodigo, CorAtiva2->SelectedColor());
    txtCodigo->setFocus(Qt::OtherFocusReason);
}

void TfrmPaciente::btnAlterarClick()
{
    // The code field may have been typed over without Enter; "Confirmar" writes the row the code
    // field names, so it must name the patient on screen.
    if (patientLoaded())
        txtCodigo->setText(fieldText(datRegistros, "PAC_COD__"));
    MudaEstadoCampos(true);
    txtNome->setFocus(Qt::OtherFocusReason);
}

void TfrmPaciente::btnConfirmarClick()
{
    if (!ValidaDados())
        return;
    const std::int32_t target = isFieldReadOnly(txtCodigo) ? txtCodigo->value() : CodigoNovo;
    Atualizar(target);
    MudaEstadoCampos(false);
    txtCodigo->setFocus(Qt::OtherFocusReason);
    txtCodigo->selectAll();
    toolkit::setTag(txtCodigo, toolkit::kTagKeepsEnter);
}

void TfrmPaciente::btnCancelarClick()
{
    try {
        if (Transacao.active())
            Transacao.rollback();
    } catch (const data::DatabaseError& error) {
        // The server or the network went away: the server dropped the transaction with the
        // connection, so there is nothing left to undo. The connection is forgotten and the next
        // statement connects again; the cancel goes on, or the screen could never leave edit mode.
        if (!paciente::isConnectionLoss(error))
            throw;
        BancoDeDados.close();
    }
    MudaEstadoCampos(false);

    // The code field loads by Enter again even when the reload below fails.
    const auto backToCodeField = [this] {
        txtCodigo->setFocus(Qt::OtherFocusReason);
        txtCodigo->selectAll();
        toolkit::setTag(txtCodigo, toolkit::kTagKeepsEnter);
    };
    try {
        const QString code = txtCodigo->text();
        if (!trimmed(code).isEmpty()) {
            const std::int32_t value = paciente::StrToInt(code.toStdString());
            try {
                Selecionar(value);
            } catch (const data::DatabaseError& error) {
                // The connection died without the rollback noticing (the failed save had already
                // dropped the transaction): forget it and load once more on a fresh one.
                if (!paciente::isConnectionLoss(error))
                    throw;
                BancoDeDados.close();
                Selecionar(value);
            }
        }
    } catch (...) {
        backToCodeField();
        throw;
    }
    backToCodeField();
}

void TfrmPaciente::btnExcluirClick()
{
    Selecionar(paciente::StrToInt(txtCodigo->text().toStdString()));
    const QString code = txtCodigo->text();
    if (trimmed(code).isEmpty())
        return;

    qryAuxiliar.clearSql();
    qryAuxiliar.addSql(paciente::consultationGuardStatement(code.toStdString()));
    qryAuxiliar.open();
    if (!qryAuxiliar.isEmpty()) {
        toolkit::MessageDlg(QStringLiteral("Impossível excluir um Paciente com alguma consulta Cadastrada."),
                            toolkit::mtInformation, toolkit::mbOK);
        return;
    }
    if (toolkit::MessageDlg(QStringLiteral("Tem Certeza que Deseja Excluir esse Paciente Atual?"),
                            toolkit::mtConfirmation, toolkit::mbYesNo)
        != toolkit::mrYes)
        return;

    qryAuxiliar.clearSql();
    qryAuxiliar.addSql(paciente::deleteStatement(code.toStdString()));
    qryAuxiliar.execSql();
    LimpaCampos();
    Transacao.commit();
    CorrigeBotoes(false);
    txtCodigo->setFocus(Qt::OtherFocusReason);
}

void TfrmPaciente::btnLocalizarClick()
{
    ShowLocalizaPaciente(BancoDeDados, Transacao, [this](std::int32_t code) { Selecionar(code); }, this);
    txtCodigo->setFocus(Qt::OtherFocusReason);
    txtCodigo->selectAll();
}

void TfrmPaciente::btnFecharClick()
{
    // Only asks; the close rule decides.
    close();
}

void TfrmPaciente::btnAdicionaFotoClick()
{
    photo::addPhotoFromFile(*txtFoto, dlgOpen_->execute());
}

void TfrmPaciente::btnRemoveFotoClick()
{
    photo::removePhoto(*txtFoto);
}

// ---- Start and end ----

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
