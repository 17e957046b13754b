#pragma once

#include "data/Connection.h"
#include "data/DateTime.h"
#include "data/MemoryStream.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "startup/StartupSequence.h"
#include "toolkit/Form.h"
#include "toolkit/FormGlobal.h"

#include <QString>

class QPushButton;

namespace vorlu::forms {

// The patient record screen, the program's main and only permanent window. It owns the one
// connection, the one transaction and the record screen's statement components; its show
// handler is the start-up sequence and its close handler the rule that ends the program.
// The record screen's fields and commands build on this class.
class TfrmPaciente : public toolkit::TForm {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Módulo Secretária - Cadastro e Manutenção de Pacientes");
    // The client area; the outer size follows from the window system's frame.
    static constexpr int kClientWidth = 792;
    static constexpr int kClientHeight = 523;

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

    // The frame drawn along the client area's edges; every other control lies on top of it.
    QWidget* Shape1 = nullptr;
    // Enabled exactly in edit mode; the close rule reads it.
    QPushButton* btnConfirmar = nullptr;
    QPushButton* btnFechar = nullptr;

    // The start-up handler's settings (the splash pause, how the program ends).
    startup::StartupSequence& startupSequence() { return startup_; }

    // Edit mode (true) or browse mode (false).
    virtual void MudaEstadoCampos(bool editing);
    // The command buttons for the mode.
    virtual void CorrigeBotoes(bool editing);

    void btnFecharClick();
    void datRegistrosAfterOpen();

protected:
    void FormCreate() override;
    void FormShow() override;
    toolkit::TCloseAction FormClose(toolkit::TCloseAction action) override;

private:
    startup::StartupSequence startup_{*this};
};

inline toolkit::FormGlobal<TfrmPaciente> frmPaciente;

} // namespace vorlu::forms
