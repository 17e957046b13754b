// Saves pictures of the record screen with a patient and photo loaded, in browse mode and in
// edit mode:  paciente_screenshots <folder>  (docs/ for the README's pictures).

#include "RecordScreenFixture.h"
#include "StartupTestSupport.h"
#include "TestDatabase.h"

#include "DemoPhoto.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "forms/controls/IntegerEdit.h"
#include "forms/untPaciente.h"
#include "toolkit/Application.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace vorlu;

namespace {

void insertPatient(const std::string& location)
{
    data::Connection connection;
    connection.setDatabaseName(location);
    data::Transaction transaction(connection);
    data::Query insert(connection, transaction);
    insert.addSql("INSERT INTO PACIENTES (PAC_COD__, PAC_INC__, PAC_FOT__, PAC_NOM__, PAC_SEX__, PAC_NAS__, PAC_PES__, "
                  "PAC_END__, PAC_CID__, PAC_UF__, PAC_BAI__, PAC_CEP__, PAC_FON_1, PAC_FON_2, PAC_FON_3, PAC_CEL__, "
                  "PAC_EMA__, PAC_OBS__, PAC_CON__, PAC_OBS_C, PAC_ETN__) VALUES (1024, '2023-08-14', :FOT, "
                  "'MARIANA DE OLIVEIRA SANTOS', 'FEMININO', '1988-11-03', 64, 'RUA DAS ACACIAS, 215 - APTO 32', "
                  "'UBERLANDIA', 'MG', 'SANTA MONICA', '38.408-100', '(34) 3231-4455', '(34) 3212-0098', "
                  "'(  )     -    ', '(34) 9912-3344', 'mariana.santos@exemplo.com.br', :OBS, 'UNIMED', "
                  "'PREFERE ATENDIMENTO PELA MANHA', 'BRANCO')");
    insert.paramByName("FOT").loadFromStream(tools::demoPhotos().front());
    insert.paramByName("OBS").setAsString("14/08/2023 - PRIMEIRA CONSULTA. OBJETIVO: REEDUCAÇÃO ALIMENTAR.\r\n"
                                          "02/10/2023 - RETORNO. PERDA DE 2,5 KG; MANTER O PLANO.\r\n"
                                          "20/11/2023 - RETORNO. AJUSTE DAS PORÇÕES DO JANTAR.");
    insert.execSql();
    transaction.commit();
}

bool save(QWidget& window, const QString& path)
{
    const bool ok = window.grab().save(path, "PNG");
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    toolkit::VorluApplication app(argc, argv);
    toolkit::VorluApplication::setTitle(QStringLiteral("Vorlu - Módulo Secretária"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: paciente_screenshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    testing::paciente::pinBrazilianLocale();

    bool ok = true;
    {
        testing::TempSettings settings;
        testing::TempDatabase database;
        insertPatient(database.location());
        testing::storeText("CaminhoBD", database.location());
        toolkit::testing::RecordingDialogs dialogs;

        forms::TfrmPaciente& screen = testing::paciente::showRecordScreen();
        testing::paciente::typeInto(screen.txtCodigo, QStringLiteral("1024"));
        testing::paciente::pressEnter(screen.txtCodigo);
        QTest::qWait(50);
        ok = save(screen, folder + QStringLiteral("/record-screen-browse.png")) && ok;

        testing::paciente::click(screen.btnAlterar);
        QTest::qWait(50);
        ok = save(screen, folder + QStringLiteral("/record-screen-edit.png")) && ok;

        testing::paciente::click(screen.btnCancelar);
        screen.Free();
        testing::flushDeferredDeletes();
        ok = ok && dialogs.isEmpty();
    }
    return ok ? 0 : 1;
}
