#pragma once

#include "data/Connection.h"
#include "data/DateTime.h"
#include "data/MemoryStream.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "startup/StartupSequence.h"
#include "toolkit/Form.h"
#include "toolkit/FormGlobal.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QKeyEvent;
class QLabel;
class QPushButton;

namespace vorlu::controls {
class DateEdit;
class IntegerEdit;
class MaskEdit;
class Memo;
class PickList;
class TextEdit;
} // namespace vorlu::controls

namespace vorlu::photo {
class PhotoView;
}

namespace vorlu::forms {

namespace paciente {
class ColorHolder;
class PhotoOpenDialog;
} // namespace paciente

// The patient record screen, the program's main and only permanent window. It owns the one
// connection, the one transaction and the record screen's statement components; its show
// handler is the start-up sequence and its close handler the rule that ends the program.
//
// Browse mode shows a patient read-only and takes a code to load; edit mode (after "Novo" or
// "Alterar") lets the fields change until "Confirmar" saves or "Cancelar" rolls back. The mode
// lives in the controls themselves: btnConfirmar is enabled exactly in edit mode.
class TfrmPaciente : public toolkit::TForm {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Módulo Secretária - Cadastro e Manutenção de Pacientes");
    // The client area; the outer size follows from the window system's frame.
    static constexpr int kClientWidth = 792;
    static constexpr int kClientHeight = 523;
    // CorInaAtiva: red 240, green 251, blue 255.
    static constexpr unsigned kInactiveColour = 0xF0FBFF;

    TfrmPaciente();
    ~TfrmPaciente() override;

    // Database components. Declared in this order so that destruction closes the statements,
    // then rolls back a transaction still active, then detaches.
    data::Connection BancoDeDados;
    data::Transaction Transacao{BancoDeDados};
    data::Query datRegistros{BancoDeDados, Transacao};
    data::Query qryAuxiliar{BancoDeDados, Transacao};

    // The photo byte buffer.
    data::MemoryStream StreamFoto;
    // The server's timestamp read at start-up, the reference date of every age.
    data::DateTime DataServidor = 0;
    // The code the last "Novo" allocated; "Confirmar" after "Novo" writes that row.
    std::int32_t CodigoNovo = 0;

    // The frame drawn along the client area's edges; every other control lies on top of it.
    QWidget* Shape1 = nullptr;

    // The colour holders of the three field colours.
    paciente::ColorHolder* CorAtiva1 = nullptr;
    paciente::ColorHolder* CorAtiva2 = nullptr;
    paciente::ColorHolder* CorInaAtiva = nullptr;

    // The fields, in tab order.
    controls::IntegerEdit* txtCodigo = nullptr;
    controls::TextEdit* txtNome = nullptr;
    controls::PickList* txtSexo = nullptr;
    controls::PickList* txtEtinia = nullptr;
    controls::DateEdit* txtNascimento = nullptr;
    controls::IntegerEdit* txtIdade = nullptr;
    controls::IntegerEdit* txtPeso = nullptr;
    controls::TextEdit* txtEndereco = nullptr;
    controls::PickList* txtCidade = nullptr;
    controls::PickList* txtUF = nullptr;
    controls::TextEdit* txtBairro = nullptr;
    controls::MaskEdit* txtCEP = nullptr;
    controls::MaskEdit* txtFone01 = nullptr;
    controls::MaskEdit* txtFone02 = nullptr;
    controls::MaskEdit* txtFone03 = nullptr;
    controls::MaskEdit* txtCelular = nullptr;
    controls::TextEdit* txtEmail = nullptr;
    controls::TextEdit* txtConvenio = nullptr;
    controls::Memo* txtObsC = nullptr;
    controls::Memo* txtObs = nullptr;
    controls::DateEdit* txtInclusao = nullptr;

    // The photo view and its buttons.
    photo::PhotoView* txtFoto = nullptr;
    QPushButton* btnAdicionaFoto = nullptr;
    QPushButton* btnRemoveFoto = nullptr;

    // The seven commands. btnConfirmar is enabled exactly in edit mode; the close rule reads it.
    QPushButton* btnNovo = nullptr;
    QPushButton* btnAlterar = nullptr;
    QPushButton* btnExcluir = nullptr;
    QPushButton* btnLocalizar = nullptr;
    QPushButton* btnConfirmar = nullptr;
    QPushButton* btnCancelar = nullptr;
    QPushButton* btnFechar = nullptr;

    // The label beside a field (the three phones share one); nullptr for the photo view.
    QLabel* labelOf(const QWidget* field) const;
    // The 18 fields the mode switches, in the order the mode sets them.
    const QList<QWidget*>& patientFields() const { return patientFields_; }
    // Every control in tab order, from the code field to the colour holders.
    const QList<QWidget*>& tabOrder() const { return tabOrder_; }

    // The start-up handler's settings (the splash pause, how the program ends).
    startup::StartupSequence& startupSequence() { return startup_; }

    // Loads the patient with the code into every field, the photo included; no row empties them.
    void Selecionar(std::int32_t code);
    // Empties every field and blanks the photo; changes no mode, colour or button.
    void LimpaCampos();
    // Writes the fields into the row that has the code `target`, commits, and loads the patient
    // again by the code field. A text the database cannot hold is refused before anything runs.
    void Atualizar(std::int32_t target);
    // Allocates the next code, inserts a row holding only it, and loads it; left uncommitted.
    void InserirPaciente();
    // Whole years from the birth date to the reference date.
    static std::int32_t Calcula_Idade(data::DateTime birth, data::DateTime reference);
    // The checks before a save; the first failing one says why and takes the focus to its field.
    bool ValidaDados();

    // Edit mode (true) or browse mode (false).
    virtual void MudaEstadoCampos(bool editing);
    // The command buttons for the mode.
    virtual void CorrigeBotoes(bool editing);
    // Whether a patient row is loaded (datRegistros open on a row).
    bool patientLoaded() const;

    void btnNovoClick();
    void btnAlterarClick();
    void btnExcluirClick();
    void btnLocalizarClick();
    void btnConfirmarClick();
    void btnCancelarClick();
    void btnFecharClick();
    void btnAdicionaFotoClick();
    void btnRemoveFotoClick();
    void datRegistrosAfterOpen();
    void txtNascimentoExit();
    void txtCodigoExit();
    // Enter (whatever the modifiers) loads the typed code; true when the key was used.
    bool txtCodigoKeyDown(QKeyEvent& key);

    // The photo dialog, remembering the last file while the screen lives.
    paciente::PhotoOpenDialog& dlgOpen() { return *dlgOpen_; }

protected:
    void FormCreate() override;
    void FormShow() override;
    toolkit::TCloseAction FormClose(toolkit::TCloseAction action) override;

private:
    void buildFields();
    void buildCommands();
    void buildPhoto();
    void setTabOrder();
    QLabel* addLabel(const QString& caption, int left, int top, const QWidget* field);
    // Code field and inclusion date back to their browse-mode settings (after a failed "Novo").
    void restoreBrowseCodeSettings();
    // Refuses a text the database cannot hold before the update statement is built.
    void checkTextsFit();
    // The weight as the update sends it: a stored fraction the user did not touch goes back as
    // the same number.
    std::string weightParameter() const;

    startup::StartupSequence startup_{*this};
    std::unique_ptr<paciente::PhotoOpenDialog> dlgOpen_;
    QList<QWidget*> patientFields_;
    QList<QWidget*> tabOrder_;
    QList<std::pair<const QWidget*, QLabel*>> labels_;
};

inline toolkit::FormGlobal<TfrmPaciente> frmPaciente;

} // namespace vorlu::forms
