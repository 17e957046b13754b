// The patient search dialog over a million patients, driven offscreen through its real controls:
//   - Enter on an empty box: time until the first screen of rows is painted, and the memory then
//     (also on a small table, to show that it does not grow with the table);
//   - a name search (SILVA): time to the first screen, against the same statement run to its first
//     row by a bare loop over the Firebird API, as a ratio;
//   - scrolling to the end of the full list: rows per second and the memory held per row above
//     the names' own bytes.

#include "BareFirebird.h"
#include "BenchSupport.h"

#include "data/Connection.h"
#include "data/Transaction.h"
#include "forms/search/PatientResultModel.h"
#include "forms/search/SearchStatement.h"
#include "forms/untLocalizaPaciente.h"
#include "toolkit/Application.h"

#include <firebird/Interface.h>

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace vorlu;
using bench::Clock;
using forms::frmLocalizaPaciente;
using forms::TfrmLocalizaPaciente;

namespace {

constexpr int kRepeats = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The record screen's connection and transaction: connected and started before the dialog opens.
struct Session {
    data::Connection connection;
    data::Transaction transaction{connection};
    explicit Session(const std::string& location)
    {
        connection.setDatabaseName(location);
        connection.open();
        transaction.start();
    }
};

TfrmLocalizaPaciente* openDialog(Session& session)
{
    TfrmLocalizaPaciente* form = frmLocalizaPaciente.create(session.connection, session.transaction, [](std::int32_t) {});
    form->show();
    QApplication::processEvents();
    return form;
}

void closeDialog()
{
    if (frmLocalizaPaciente)
        frmLocalizaPaciente->Free();
    QApplication::processEvents();
}

// Types the text, presses Enter and returns the milliseconds until the list has painted its rows.
double enterToFirstScreen(TfrmLocalizaPaciente& form, const QString& text)
{
    form.txtBusca->setFocus();
    form.txtBusca->setText(text);
    const auto start = Clock::now();
    QTest::keyClick(form.txtBusca, Qt::Key_Return);
    QApplication::processEvents();
    form.grdResultado->viewport()->repaint();
    return bench::millisecondsSince(start);
}

struct FirstScreen {
    double ms = 0;
    long growthKb = 0;
    int rows = 0;
    std::size_t modelBytes = 0;
};

FirstScreen firstScreen(Session& session, const QString& text)
{
    std::vector<double> times;
    FirstScreen result;
    enterToFirstScreen(*openDialog(session), text); // warms the page cache once
    closeDialog();
    for (int r = 0; r < kRepeats; ++r) {
        TfrmLocalizaPaciente* form = openDialog(session);
        const long before = bench::residentKilobytes();
        times.push_back(enterToFirstScreen(*form, text));
        result.growthKb = std::max(result.growthKb, bench::residentKilobytes() - before);
        result.rows = form->dtsPacientes->rowCount();
        result.modelBytes = form->dtsPacientes->heldBytes();
        closeDialog();
    }
    result.ms = median(times);
    return result;
}

// The same statement with nothing between the program and the client library, to its first row
// (or to its `rows`th row).
double bareToRow(const std::string& location, const std::string& statement, int rows = 1)
{
    using namespace Firebird;
    bench::BareSession session(location);
    auto& status = session.status();
    IAttachment* attachment = session.attachment();
    ITransaction* transaction = session.transaction();

    const auto start = Clock::now();
    IStatement* prepared = attachment->prepare(&status, transaction, static_cast<unsigned>(statement.size()),
                                               statement.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA);
    IMessageMetadata* meta = prepared->getOutputMetadata(&status);
    IResultSet* cursor = prepared->openCursor(&status, transaction, nullptr, nullptr, meta, 0);
    std::vector<unsigned char> row(meta->getMessageLength(&status));
    int fetched = IStatus::RESULT_OK;
    for (int i = 0; i < rows && fetched == IStatus::RESULT_OK; ++i)
        fetched = cursor->fetchNext(&status, row.data());
    const double elapsed = bench::millisecondsSince(start);

    cursor->close(&status);
    meta->release();
    prepared->free(&status);
    return fetched == IStatus::RESULT_OK ? elapsed : -1;
}

std::string joinedStatement(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

struct Scroll {
    double rowsPerSecond = 0;
    int rows = 0;
    double modelBytesPerRowAboveText = 0;
    double residentBytesPerRowAboveText = 0;
};

// Enter on an empty box, then the list scrolled to its end the way a user drags the scroll bar
// down: each time it reaches the bottom, the list asks for the next chunk.
Scroll scrollToEnd(Session& session)
{
    TfrmLocalizaPaciente* form = openDialog(session);
    const long before = bench::residentKilobytes();
    const auto start = Clock::now();
    QTest::keyClick(form->txtBusca, Qt::Key_Return);
    QScrollBar* bar = form->grdResultado->verticalScrollBar();
    while (form->dtsPacientes->canFetchMore({})) {
        QApplication::processEvents();
        bar->setValue(bar->maximum());
    }
    QApplication::processEvents();
    form->grdResultado->viewport()->repaint();
    const double seconds = bench::millisecondsSince(start) / 1000.0;

    Scroll result;
    const forms::PatientResultModel& model = *form->dtsPacientes;
    result.rows = model.rowCount();
    result.rowsPerSecond = result.rows / seconds;
    const double text = static_cast<double>(model.textBytes());
    result.modelBytesPerRowAboveText = (static_cast<double>(model.heldBytes()) - text) / result.rows;
    const double resident = (bench::residentKilobytes() - before) * 1024.0;
    result.residentBytesPerRowAboveText = (resident - text) / result.rows;
    closeDialog();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The dialog keeps its placement; not in the user's own settings.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

    const std::string small = bench::benchDatabase(10000);
    const std::string large = bench::benchDatabase(1000000);
    toolkit::VorluApplication app(argc, argv);

    FirstScreen allSmall, all, silva;
    std::vector<double> bare, bareChunk;
    {
        Session session(small);
        allSmall = firstScreen(session, "");
    }
    Scroll scroll;
    {
        Session session(large);
        all = firstScreen(session, "");
        silva = firstScreen(session, "SILVA");
        const std::string statement = joinedStatement(forms::searchStatement("SILVA"));
        bareToRow(large, statement); // warm
        for (int r = 0; r < kRepeats; ++r) {
            bare.push_back(bareToRow(large, statement));
            bareChunk.push_back(bareToRow(large, statement, forms::PatientResultModel::kChunkRows));
        }
        scroll = scrollToEnd(session);
    }
    if (all.rows != forms::PatientResultModel::kChunkRows || silva.rows != forms::PatientResultModel::kChunkRows ||
        median(bare) <= 0 || median(bareChunk) <= 0)
        return 1;

    bench::printFigure("table_rows", 1000000, "rows");
    bench::printFigure("first_screen_all_10k_table", allSmall.ms, "ms");
    bench::printFigure("first_screen_all_rows", all.rows, "rows");
    bench::printFigure("first_screen_all_memory_growth", static_cast<double>(all.growthKb), "KiB");
    bench::printFigure("first_screen_all_model_bytes", static_cast<double>(all.modelBytes), "bytes");
    bench::printFigure("name_search_first_screen", silva.ms, "ms");
    bench::printFigure("name_search_bare_first_row", median(bare), "ms");
    // The list shows its first screen once the statement has its first chunk of rows: against
    // the bare loop to the same 1000th row, the difference is what lies between the two.
    bench::printFigure("name_search_bare_first_chunk", median(bareChunk), "ms");
    bench::printFigure("name_search_ratio_to_first_chunk", silva.ms / median(bareChunk), "");
    bench::printFigure("scroll_rows", scroll.rows, "rows");
    bench::printFigure("scroll_rows_per_second", scroll.rowsPerSecond, "rows/s");
    bench::printFigure("scroll_model_bytes_per_row_above_text", scroll.modelBytesPerRowAboveText, "bytes");
    bench::printFigure("scroll_resident_bytes_per_row_above_text", scroll.residentBytesPerRowAboveText, "bytes");
    bench::printFigure("first_screen_all", all.ms, "ms");
    bench::printFigure("name_search_ratio", silva.ms / median(bare), "");
    return 0;
}
