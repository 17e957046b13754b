#pragma once

#include "data/Query.h"
#include "toolkit/Form.h"
#include "toolkit/FormGlobal.h"

#include <QPoint>

#include <cstdint>
#include <functional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vorlu::data {
class Connection;
class Transaction;
} // namespace vorlu::data

namespace vorlu::forms {

class PatientResultModel;

// The record screen's load operation, which the dialog calls with the chosen patient's code.
using SelecionarPaciente = std::function<void(std::int32_t code)>;

// The patient search dialog: lists patients by a part of the name or by the exact code and hands
// the chosen code to the record screen. It owns no connection and no transaction: its statement
// runs on the record screen's. Each opening is a fresh instance; closing frees it. Its window
// placement is kept in the placement file's section TfrmLocalizaPaciente.
class TfrmLocalizaPaciente : public toolkit::TForm {
    Q_OBJECT
public:
    // The section of the window-placement file and the position before a saved one.
    static constexpr const char* kPlacementSection = "TfrmLocalizaPaciente";
    static constexpr QPoint kDesignedPosition{306, 223};
    static constexpr int kClientWidth = 736;
    static constexpr int kClientHeight = 444;

    TfrmLocalizaPaciente(data::Connection& BancoDeDados, data::Transaction& Transacao, SelecionarPaciente Selecionar,
                         QWidget* parent = nullptr);
    ~TfrmLocalizaPaciente() override;

    QWidget* Panel1 = nullptr;
    QLineEdit* txtBusca = nullptr;
    QLabel* Label1 = nullptr;
    QTableView* grdResultado = nullptr;
    QWidget* Panel2 = nullptr;
    QPushButton* btnConfirmar = nullptr;
    QPushButton* btnCancelar = nullptr;

    data::Query qryPacientes;
    PatientResultModel* dtsPacientes = nullptr;

    // Key handlers; true when the key was used (Enter), false to leave it to the control.
    bool txtBuscaKeyDown(QKeyEvent& key);
    bool grdResultadoKeyDown(QKeyEvent& key);
    void grdResultadoDblClick();
    void btnConfirmarClick();
    void btnCancelarClick();

    // Runs the search statement for the box's text and shows its result; the focus goes to the
    // list on its first row, or stays in the box with the text selected when nothing matched.
    void Search();
    // Hands the current row's code to the record screen when there is one, then closes.
    void Confirm();
    // The code of the list's current row; 0 when the list has no current row.
    std::int32_t currentCode() const;

protected:
    void FormCreate() override;
    void FormShow() override;
    toolkit::TCloseAction FormClose(toolkit::TCloseAction action) override;
    void FormDestroy() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void placeControls();
    void fitColumns();
    void showResult();

    SelecionarPaciente selecionar_;
};

// The dialog's global instance: empty until the record screen opens it, empty again once it
// has closed.
inline toolkit::FormGlobal<TfrmLocalizaPaciente> frmLocalizaPaciente;

// The record screen's Localizar: creates the dialog when frmLocalizaPaciente is empty and shows
// it modally over `owner` (the record screen). Returns when the dialog has closed; the chosen
// patient, if any, has been handed to `Selecionar` by then.
void ShowLocalizaPaciente(data::Connection& BancoDeDados, data::Transaction& Transacao, SelecionarPaciente Selecionar,
                          QWidget* owner = nullptr);

} // namespace vorlu::forms
