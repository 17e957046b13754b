#include "startup/StartupSequence.h"

#include "data/ServerClock.h"
#include "forms/untBD.h"
#include "forms/untPaciente.h"
#include "forms/untSplash.h"
#include "startup/Registro.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

#include <QLabel>
#include <QLineEdit>

#include <thread>

namespace vorlu::startup {

using forms::frmBD;
using forms::frmSplash;

void sleepWithoutMessages(std::chrono::milliseconds duration)
{
    if (duration.count() > 0)
        std::this_thread::sleep_for(duration);
}

StartupSequence::StartupSequence(forms::TfrmPaciente& screen)
    : screen_(screen)
{
}

void StartupSequence::run()
{
    // Outside the attempt: a location stored with another type goes to the general error
    // report, and the screen is shown without a connection.
    const std::string location = LeRegistro(kSettingsKey, kDatabaseLocationValue);
    screen_.BancoDeDados.setConnected(false);
    screen_.BancoDeDados.setDatabaseName(location);
    if (!attempt())
        failureRoad(location);
}

bool StartupSequence::attempt()
{
    try {
        screen_.BancoDeDados.open();
        screen_.DataServidor = data::readServerClock(screen_.qryAuxiliar);
        frmSplash.ensure();
        frmSplash->show();
        frmSplash->lblStatus->setText(QStringLiteral("Conectando ao Banco de Dados..."));
        frmSplash->lblStatus->adjustSize();
        toolkit::VorluApplication::ProcessMessages();
        if (pause_)
            pause_(splashPause_);
        else
            sleepWithoutMessages(splashPause_);
        frmSplash->close();
        return true;
    } catch (...) {
        // Whatever failed, the failure's own text is not shown.
        return false;
    }
}

void StartupSequence::failureRoad(const std::string& location)
{
    // A splash that was created before the failure goes away with the attempt.
    if (frmSplash)
        frmSplash->close();
    frmBD.ensure();
    frmBD->txtCaminho->setText(QString::fromStdString(location));
    if (frmBD->ShowModal() != toolkit::mrYes) {
        endProgram();
        return;
    }
    const std::string confirmed = frmBD->txtCaminho->text().toStdString();
    // Not protected: an error from here on goes to the general error report and the road stops.
    GravaRegistro(kSettingsKey, true, kDatabaseLocationValue, confirmed);
    // The attempt may have failed after connecting (the clock or the splash); a connected
    // component refuses a new location.
    screen_.BancoDeDados.setConnected(false);
    screen_.BancoDeDados.setDatabaseName(confirmed);
    screen_.BancoDeDados.open();
    toolkit::MessageDlg(
        QStringLiteral("O caminho do Banco de Dados foi Configurado com Sucesso, entre novamente no Programa para Utilizá-lo"),
        toolkit::mtWarning, toolkit::mbOK);
    endProgram();
}

void StartupSequence::endProgram()
{
    if (terminate_)
        terminate_();
    else
        toolkit::VorluApplication::Terminate();
}

} // namespace vorlu::startup
