#pragma once

#include "data/Connection.h"
#include "toolkit/Form.h"
#include "toolkit/FormGlobal.h"

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlu::forms {

// The database location dialog: shown modally by the failure road of start-up, it tests a
// typed location with a connection of its own and saves nothing itself. Its result is Yes
// only after a successful test; the caller then reads txtCaminho, which still exists when the
// modal wait returns (the dialog frees itself afterwards).
class TfrmBD : public toolkit::TForm {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Configuração do Caminho do Banco de Dados");
    static inline const QString kFailureTitle = QStringLiteral("A conexão com o Banco de Dados não foi Estabelecida.");
    static inline const QString kFailureText = QStringLiteral(
        "Por favor verifique se o caminho foi Informado Corretamente e se a porta TCPIP 3050 esta Liberada no Servidor.");
    static constexpr int kClientWidth = 584;
    static constexpr int kClientHeight = 123;

    TfrmBD();
    ~TfrmBD() override;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtCaminho = nullptr;
    QPushButton* Sim = nullptr;
    QPushButton* Nao = nullptr;

    // The test connection: the program's fixed credentials, no transaction, no statement.
    data::Connection BD;

    // "Confirmar": tests the location exactly as typed; Yes when it connects, otherwise the
    // plain error box and the dialog stays open.
    void SimClick();

protected:
    void FormShow() override;
    toolkit::TCloseAction FormClose(toolkit::TCloseAction action) override;
};

inline toolkit::FormGlobal<TfrmBD> frmBD;

} // namespace vorlu::forms
