// bench_record: the record screen on 100,000 patients with 150 x 198 photos, driven offscreen.
//   load: Selecionar (the statement, the photo decoded, every field filled), against a bare
//         statement that reads the same row and its photo bytes;
//   save: Confirmar after Alterar (the photo encoded, the update, the commit, the reload).
// Each patient is saved at most once, so repeated runs do not wear its photo down.

#include "BenchSupport.h"

#include "data/Connection.h"
#include "data/FormatSettings.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "forms/untPaciente.h"
#include "startup/Registro.h"
#include "toolkit/Application.h"

#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QMouseEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

using namespace vorlu;

namespace {

constexpr unsigned long kPatients = 100000;
constexpr int kLoads = 400;
constexpr int kSaves = 150;

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(values.size() - 1, static_cast<std::size_t>(p * double(values.size() - 1) + 0.5));
    return values[at];
}

void printTimes(const char* name, const std::vector<double>& times)
{
    const std::string base(name);
    bench::printFigure((base + "_p95").c_str(), percentile(times, 0.95), "ms");
    bench::printFigure((base + "_median").c_str(), percentile(times, 0.5), "ms");
}

// A left click at the button's centre, through the application's event dispatch as a real
// click travels.
void click(QWidget* button)
{
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    toolkit::VorluApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    data::setDecimalSeparator(',');

    const std::string location = bench::benchDatabase(kPatients, 1);
    startup::setDatabaseLocation(location);

    std::mt19937 random(7);
    std::vector<std::int32_t> codes(kPatients);
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = std::int32_t(i + 1);
    std::shuffle(codes.begin(), codes.end(), random);

    // The bare baseline: the same row and its photo bytes, no screen.
    std::vector<double> bare;
    {
        data::Connection connection;
        connection.setDatabaseName(location);
        data::Transaction transaction(connection);
        data::Query query(connection, transaction);
        query.addSql("SELECT * FROM PACIENTES WHERE PAC_COD__ = :PAC_COD__;");
        data::MemoryStream stream;
        for (int i = 0; i < kLoads; ++i) {
            const auto start = bench::Clock::now();
            query.close();
            query.paramByName("PAC_COD__").setAsInteger(codes[i]);
            query.open();
            stream.clear();
            query.fieldByName("PAC_FOT__").saveToStream(stream);
            for (const auto& field : query.fields())
                (void)field->asString();
            bare.push_back(bench::millisecondsSince(start));
        }
    }

    forms::frmPaciente.ensure();
    forms::TfrmPaciente& screen = *forms::frmPaciente;
    screen.startupSequence().setSplashPause(std::chrono::milliseconds(0));
    screen.show();
    QCoreApplication::processEvents();
    if (!screen.BancoDeDados.connected()) {
        std::fprintf(stderr, "the record screen did not connect to %s\n", location.c_str());
        return 1;
    }

    std::vector<double> loads;
    for (int i = 0; i < kLoads; ++i) {
        const auto start = bench::Clock::now();
        screen.Selecionar(codes[i]);
        loads.push_back(bench::millisecondsSince(start));
    }

    // Saves on patients not loaded above, through the buttons.
    std::vector<double> saves;
    for (int i = 0; i < kSaves; ++i) {
        screen.Selecionar(codes[kLoads + i]);
        click(screen.btnAlterar);
        const auto start = bench::Clock::now();
        click(screen.btnConfirmar);
        saves.push_back(bench::millisecondsSince(start));
        if (screen.btnConfirmar->isEnabled()) {
            std::fprintf(stderr, "the save of patient %d failed\n", codes[kLoads + i]);
            return 1;
        }
    }

    bench::printFigure("patients", double(kPatients), "");
    bench::printFigure("photo_bytes", double(screen.StreamFoto.size()), "bytes");
    printTimes("bare_load", bare);
    bench::printFigure("load_p95", percentile(loads, 0.95), "ms");
    bench::printFigure("save_p95", percentile(saves, 0.95), "ms");
    bench::printFigure("resident_memory", double(bench::residentKilobytes()), "KiB");
    bench::printFigure("load_median", percentile(loads, 0.5), "ms");
    bench::printFigure("save_median", percentile(saves, 0.5), "ms");
    screen.Free();
    return 0;
}
