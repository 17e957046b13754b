// The patient search dialog, driven offscreen through its real controls against a real embedded
// database: the statements it builds, what it lists, where the focus goes, what Confirm and
// Cancelar hand back, and that hostile texts stay inside the patterns.

#include "forms/search/PatientResultModel.h"
#include "forms/untLocalizaPaciente.h"

#include "TestDatabase.h"
#include "Seed.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "platform/ConfigPaths.h"
#include "toolkit/testing/ModalDriver.h"
#include "toolkit/testing/QtTestMain.h"
#include "toolkit/testing/RecordingDialogs.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

using namespace vorlu;
using forms::frmLocalizaPaciente;
using forms::PatientResultModel;
using forms::TfrmLocalizaPaciente;
using toolkit::testing::RecordingDialogs;

Q_DECLARE_METATYPE(QList<int>)

namespace {

struct Patient {
    int code;
    std::optional<std::string> name; // nullopt: NULL, as a new patient's stub row has
};

// In the list's order, by name (NULL first). Codes 12, 112 and 120 tell a code search from a
// pattern; the names give blanks, apostrophes, digits and a backslash something to find.
const std::vector<Patient> kPatients = {
    {9, std::nullopt},
    {10, ""},
    {3, "ANA"},
    {1, "ANA MARIA SOUZA"},
    {8, "ANTONIO \\ TESTE"},
    {7, "APTO 12 BIA"},
    {5, "JOSE D'ÁVILA"},
    {4, "JULIANA"},
    {13, "LUANA SILVA"},
    {120, "LUCAS PINTO"},
    {11, "MARIA ANA"},
    {6, "MARIA D'ÁVILA SANTOS"},
    {12, "PEDRO ALVES"},
    {112, "RITA GOMES"},
};

QList<int> allCodes()
{
    QList<int> codes;
    for (const auto& patient : kPatients)
        codes << patient.code;
    return codes;
}

void insertPatients(const std::string& location, const std::vector<Patient>& patients)
{
    data::Connection connection;
    connection.setDatabaseName(location);
    data::Transaction transaction(connection);
    data::Query insert(connection, transaction);
    insert.addSql("INSERT INTO PACIENTES (PAC_COD__, PAC_NOM__) VALUES (:PAC_COD__, :PAC_NOM__)");
    for (const auto& patient : patients) {
        insert.paramByName("PAC_COD__").setAsInteger(patient.code);
        if (patient.name)
            insert.paramByName("PAC_NOM__").setAsString(*patient.name);
        else
            insert.paramByName("PAC_NOM__").clear();
        insert.execSql();
    }
    transaction.commit();
}

int countRows(data::Connection& connection, data::Transaction& transaction)
{
    data::Query count(connection, transaction);
    count.addSql("SELECT COUNT(*) AS N FROM PACIENTES");
    count.open();
    return count.fieldByName("N").asInteger();
}

void processDeferredDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QList<int> listedCodes(const TfrmLocalizaPaciente& form)
{
    QList<int> codes;
    for (int row = 0; row < form.dtsPacientes->rowCount(); ++row)
        codes << form.dtsPacientes->code(row);
    return codes;
}

QStringList statementLines(const TfrmLocalizaPaciente& form)
{
    QStringList lines;
    for (const auto& line : form.qryPacientes.sql())
        lines << QString::fromStdString(line);
    return lines;
}

// Types like a keyboard does, accented letters included (keyClicks takes ASCII only).
void typeText(QWidget* control, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(control, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, control, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

void typeAndSearch(TfrmLocalizaPaciente& form, const QString& typed)
{
    form.txtBusca->setFocus();
    typeText(form.txtBusca, typed);
    QTest::keyClick(form.txtBusca, Qt::Key_Return);
}

} // namespace

class LocalizaPacienteTest : public QObject {
    Q_OBJECT

    QTemporaryDir config_; // the placement file goes here, not into the user's settings
    std::unique_ptr<testing::TempDatabase> database_;
    // The record screen's connection and transaction, fresh for every test.
    std::unique_ptr<data::Connection> connection_;
    std::unique_ptr<data::Transaction> transaction_;
    QList<int> selected_;

    // A fresh connection and transaction on the location; the old transaction goes first.
    void reconnect(const std::string& location)
    {
        transaction_.reset();
        connection_ = std::make_unique<data::Connection>();
        connection_->setDatabaseName(location);
        transaction_ = std::make_unique<data::Transaction>(*connection_);
    }

    TfrmLocalizaPaciente* openDialog(std::function<void(std::int32_t)> selecionar = {})
    {
        if (!selecionar)
            selecionar = [this](std::int32_t code) { selected_ << code; };
        TfrmLocalizaPaciente* form = frmLocalizaPaciente.create(*connection_, *transaction_, selecionar);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form))
            qWarning("the dialog did not become active");
        return form;
    }

    // The dialog closed and freed itself.
    bool closedAndFreed()
    {
        processDeferredDeletes();
        return frmLocalizaPaciente.isEmpty();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
        database_ = std::make_unique<testing::TempDatabase>();
        insertPatients(database_->location(), kPatients);
    }

    void init()
    {
        reconnect(database_->location());
        selected_.clear();
    }

    void cleanup()
    {
        if (frmLocalizaPaciente)
            frmLocalizaPaciente->Free();
        processDeferredDeletes();
        transaction_.reset(); // rolls back whatever a test left pending
        connection_.reset();
    }

    void windowAsDesigned()
    {
        TfrmLocalizaPaciente* form = frmLocalizaPaciente.create(*connection_, *transaction_, forms::SelecionarPaciente{});
        QCOMPARE(form->windowTitle(), QStringLiteral("Localização de Pacientes"));
        QCOMPARE(form->pos(), QPoint(306, 223));
        QCOMPARE(form->size(), QSize(736, 444));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!(form->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(form->windowFlags() & Qt::WindowSystemMenuHint));
        QVERIFY(!(form->windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(form->txtBusca->font().pointSize(), 10);
        QVERIFY(form->txtBusca->font().bold());
        QCOMPARE(form->txtBusca->palette().color(QPalette::Text), QColor(0, 0, 128));
        // The hint is shown as written, "<ENTER>" included.
        QCOMPARE(form->Label1->textFormat(), Qt::PlainText);
        QCOMPARE(form->Label1->text(),
                 QStringLiteral("Digite o NOME ou o CÓDIGO do paciente a ser localizado e pressione o <ENTER>"));
        QCOMPARE(form->grdResultado->geometry(), QRect(12, 60, 711, 332));
        QCOMPARE(form->Panel2->geometry(), QRect(0, 394, 736, 50));
        QCOMPARE(form->btnConfirmar->geometry(), QRect(525, 10, 100, 33));
        QCOMPARE(form->btnCancelar->geometry(), QRect(629, 10, 100, 33));
        QCOMPARE(form->btnConfirmar->text(), QStringLiteral("Confirmar"));
        QCOMPARE(form->btnCancelar->text(), QStringLiteral("Cancelar"));
        QVERIFY(!(form->btnConfirmar->focusPolicy() & Qt::TabFocus));
        QVERIFY(!(form->btnCancelar->focusPolicy() & Qt::TabFocus));
        QVERIFY(!form->btnConfirmar->icon().isNull());
        QVERIFY(!form->btnCancelar->icon().isNull());

        // Two columns filling the list's width at 60 to 500, centred captions, rows read-only.
        QCOMPARE(form->dtsPacientes->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Código"));
        QCOMPARE(form->dtsPacientes->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nome"));
        QCOMPARE(form->dtsPacientes->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        form->show();
        QHeaderView* header = form->grdResultado->horizontalHeader();
        const int width = form->grdResultado->viewport()->width();
        QCOMPARE(header->sectionSize(0) + header->sectionSize(1), width);
        QCOMPARE(header->sectionSize(0), width * 60 / 560);
        QCOMPARE(header->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(form->grdResultado->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(form->grdResultado->editTriggers(), QAbstractItemView::NoEditTriggers);
    }

    void creationListsCodeZeroOnly()
    {
        TfrmLocalizaPaciente* form = openDialog();
        QCOMPARE(statementLines(*form), QStringList{"SELECT * FROM PACIENTES WHERE PAC_COD__ = 0;"});
        QVERIFY(form->qryPacientes.active());
        QCOMPARE(form->dtsPacientes->rowCount(), 0);
        QCOMPARE(QApplication::focusWidget(), form->txtBusca);
    }

    void search_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("boxText");
        QTest::addColumn<QString>("spliced");    // empty: the statement has no condition
        QTest::addColumn<QString>("codeColumn"); // how the code pattern's line names the code
        QTest::addColumn<QList<int>>("codes");
        const QString code = "PAC_COD__";

        QTest::newRow("empty box") << "" << "" << "" << code << allCodes();
        QTest::newRow("blanks only") << "   " << "   " << "" << code << allCodes();
        QTest::newRow("digits: the code and names holding them") << "12" << "12" << "12" << code << QList<int>{7, 12};
        QTest::newRow("trailing blank in both patterns") << "ANA " << "ANA " << "ANA " << code << QList<int>{1, 13};
        QTest::newRow("leading blank in both patterns") << " ANA" << " ANA" << " ANA" << code << QList<int>{11};
        QTest::newRow("lower case typed") << "ana" << "ANA" << "ANA" << code << QList<int>{3, 1, 4, 13, 11};
        QTest::newRow("percent alone") << "%" << "%" << "%" << code << allCodes();
        QTest::newRow("underscore alone: a name of one character or more, or a one-digit code")
            << "_" << "_" << "_" << code << QList<int>{9, 3, 1, 8, 7, 5, 4, 13, 120, 11, 6, 12, 112};
        // An accented letter: the code is compared as text the server can compare with it.
        QTest::newRow("apostrophe and accented letter")
            << "d'ávila" << "D'ÁVILA" << "D''ÁVILA" << "CAST(PAC_COD__ AS VARCHAR(11))" << QList<int>{5, 6};
        QTest::newRow("backslash is an ordinary character") << "\\" << "\\" << "\\" << code << QList<int>{8};
        QTest::newRow("no match") << "XYZ" << "XYZ" << "XYZ" << code << QList<int>{};
        QTest::newRow("quote and comment") << "' OR 1=1 --" << "' OR 1=1 --" << "'' OR 1=1 --" << code << QList<int>{};
        QTest::newRow("second statement") << "'; DELETE FROM PACIENTES; --" << "'; DELETE FROM PACIENTES; --"
                                          << "''; DELETE FROM PACIENTES; --" << code << QList<int>{};
        QTest::newRow("closing the pattern")
            << "%' OR '1'='1" << "%' OR '1'='1" << "%'' OR ''1''=''1" << code << QList<int>{};
        QTest::newRow("parameter marker") << ":PAC_COD__" << ":PAC_COD__" << ":PAC_COD__" << code << QList<int>{};
    }

    void search()
    {
        QFETCH(QString, typed);
        QFETCH(QString, boxText);
        QFETCH(QString, spliced);
        QFETCH(QString, codeColumn);
        QFETCH(QList<int>, codes);

        TfrmLocalizaPaciente* form = openDialog();
        RecordingDialogs dialogs;
        typeAndSearch(*form, typed);

        QCOMPARE(form->txtBusca->text(), boxText);
        QStringList expected{"SELECT PAC_COD__, PAC_NOM__ FROM PACIENTES"};
        if (!spliced.isEmpty())
            expected << "WHERE PAC_NOM__ LIKE '%" + spliced + "%' OR" << codeColumn + " LIKE '" + spliced + "'";
        expected << "ORDER BY PAC_NOM__";
        QCOMPARE(statementLines(*form), expected);
        QVERIFY2(dialogs.isEmpty(), qPrintable(dialogs.texts().join('\n')));
        QCOMPARE(listedCodes(*form), codes);

        // Nothing was changed, in this transaction or for anybody else.
        QCOMPARE(countRows(*connection_, *transaction_), int(kPatients.size()));
        transaction_->commit();
        QCOMPARE(countRows(*connection_, *transaction_), int(kPatients.size()));
    }

    void veryLongText()
    {
        TfrmLocalizaPaciente* form = openDialog();
        RecordingDialogs dialogs;
        // Long, but within what the server takes in a pattern.
        const QString text(40000, QChar('A'));
        form->txtBusca->setText(text);
        QTest::keyClick(form->txtBusca, Qt::Key_Return);
        QVERIFY2(dialogs.isEmpty(), qPrintable(dialogs.texts().join('\n')));
        QCOMPARE(statementLines(*form).value(2), "PAC_COD__ LIKE '" + text + "'");
        QCOMPARE(listedCodes(*form), QList<int>{});
        QCOMPARE(countRows(*connection_, *transaction_), int(kPatients.size()));
    }

    void focusAfterSearch()
    {
        TfrmLocalizaPaciente* form = openDialog();
        typeAndSearch(*form, "SILVA");
        QCOMPARE(QApplication::focusWidget(), form->grdResultado);
        QCOMPARE(form->grdResultado->currentIndex().row(), 0);
        QCOMPARE(form->currentCode(), 13);

        // No match: the focus stays in the box with its whole text selected, ready to be typed over.
        form->txtBusca->setFocus();
        form->txtBusca->clear();
        typeAndSearch(*form, "NINGUEM");
        QCOMPARE(QApplication::focusWidget(), form->txtBusca);
        QCOMPARE(form->txtBusca->selectedText(), QStringLiteral("NINGUEM"));
        QTest::keyClicks(form->txtBusca, "ANA");
        QCOMPARE(form->txtBusca->text(), QStringLiteral("ANA"));
    }

    void enterWithModifiersSearches_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier);
    }

    void enterWithModifiersSearches()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        TfrmLocalizaPaciente* form = openDialog();
        QTest::keyClicks(form->txtBusca, "PEDRO");
        QTest::keyClick(form->txtBusca, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(listedCodes(*form), QList<int>{12});
    }

    void tabSkipsTheButtons()
    {
        TfrmLocalizaPaciente* form = openDialog();
        QCOMPARE(QApplication::focusWidget(), form->txtBusca);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->grdResultado);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->txtBusca);
    }

    void escapeDoesNotClose()
    {
        TfrmLocalizaPaciente* form = openDialog();
        QTest::keyClick(form->txtBusca, Qt::Key_Escape);
        typeAndSearch(*form, "ANA");
        QTest::keyClick(form->grdResultado, Qt::Key_Escape);
        QVERIFY(!closedAndFreed());
        QVERIFY(form->isVisible());
        QVERIFY(selected_.isEmpty());
    }

    void confirm_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("search"); // empty: no search, the list of the creation
        QTest::addColumn<int>("row");        // the row made current before confirming
        QTest::addColumn<QList<int>>("selected");

        for (const char* way : {"button", "enter", "double-click"}) {
            QTest::addRow("%s on an empty list", way) << way << "" << -1 << QList<int>{};
            QTest::addRow("%s after no match", way) << way << "XYZ" << -1 << QList<int>{};
            QTest::addRow("%s on the first row", way) << way << "ANA" << 0 << QList<int>{3};
            QTest::addRow("%s on the third row", way) << way << "ANA" << 2 << QList<int>{4};
        }
    }

    void confirm()
    {
        QFETCH(QString, way);
        QFETCH(QString, search);
        QFETCH(int, row);
        QFETCH(QList<int>, selected);

        TfrmLocalizaPaciente* form = openDialog();
        if (!search.isEmpty())
            typeAndSearch(*form, search);
        QTableView* list = form->grdResultado;
        if (row >= 0) {
            for (int i = 0; i < row; ++i)
                QTest::keyClick(list, Qt::Key_Down);
            QCOMPARE(list->currentIndex().row(), row);
        }

        if (way == "button") {
            QTest::mouseClick(form->btnConfirmar, Qt::LeftButton);
        } else if (way == "enter") {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            const QPoint at = row >= 0 ? list->visualRect(form->dtsPacientes->index(row, 1)).center()
                                       : list->viewport()->rect().center();
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
        QCOMPARE(selected_, selected);
        QVERIFY(closedAndFreed());
    }

    void cancel()
    {
        TfrmLocalizaPaciente* form = openDialog();
        typeAndSearch(*form, "ANA");
        QTest::mouseClick(form->btnCancelar, Qt::LeftButton);
        QVERIFY(selected_.isEmpty());
        QVERIFY(closedAndFreed());
    }

    void failedSearchLeavesNoResult_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("a character the database cannot hold") << QStringLiteral("ANA Ω");
        QTest::newRow("a pattern longer than the server takes") << QString(70000, QChar('A'));
    }

    void failedSearchLeavesNoResult()
    {
        QFETCH(QString, text);
        TfrmLocalizaPaciente* form = openDialog();
        typeAndSearch(*form, "ANA");
        QCOMPARE(form->dtsPacientes->rowCount(), 5);

        RecordingDialogs dialogs;
        form->txtBusca->setFocus();
        form->txtBusca->setText(text);
        QTest::keyClick(form->txtBusca, Qt::Key_Return);
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.last().source, toolkit::MessageSource::ErrorReport);
        QVERIFY(form->isVisible());
        QVERIFY(!form->qryPacientes.active());
        QCOMPARE(form->dtsPacientes->rowCount(), 0);

        // Confirm loads nothing from a result that is not there, and closes.
        QTest::mouseClick(form->btnConfirmar, Qt::LeftButton);
        QVERIFY(selected_.isEmpty());
        QVERIFY(closedAndFreed());
    }

    void failingLoadKeepsTheDialogOpen()
    {
        int calls = 0;
        TfrmLocalizaPaciente* form = openDialog([&](std::int32_t) {
            ++calls;
            throw std::runtime_error("Falha ao carregar o paciente");
        });
        RecordingDialogs dialogs;
        typeAndSearch(*form, "PEDRO");
        QTest::keyClick(form->grdResultado, Qt::Key_Return);
        QCOMPARE(calls, 1);
        QCOMPARE(dialogs.texts(), QStringList{"Falha ao carregar o paciente."});
        QVERIFY(!closedAndFreed());
        QVERIFY(form->isVisible());
    }

    void failingCreationStillOpens()
    {
        reconnect((database_->folder() / "missing.fdb").string());
        RecordingDialogs dialogs;
        TfrmLocalizaPaciente* form = openDialog();
        QCOMPARE(dialogs.count(), 1);
        QCOMPARE(dialogs.last().source, toolkit::MessageSource::ErrorReport);
        QVERIFY(form->isVisible());
        QCOMPARE(form->dtsPacientes->rowCount(), 0);
        QTest::mouseClick(form->btnConfirmar, Qt::LeftButton);
        QVERIFY(selected_.isEmpty());
        QVERIFY(closedAndFreed());
    }

    void reopeningStartsAfresh()
    {
        QWidget owner;
        const auto selecionar = [this](std::int32_t code) { selected_ << code; };
        // Whatever happens inside, no modal wait outlives the test.
        QTimer::singleShot(20000, &owner, [] {
            if (frmLocalizaPaciente)
                frmLocalizaPaciente->close();
        });

        // What each showing found when it opened: its owner, the focused control, the box, the rows.
        QStringList seen;
        QPointer<TfrmLocalizaPaciente> first;
        const auto observe = [&](TfrmLocalizaPaciente* form) {
            if (!QTest::qWaitForWindowActive(form))
                qWarning("the dialog did not become active");
            QWidget* focus = QApplication::focusWidget();
            seen << (form->parentWidget() == &owner ? "owned" : "not owned")
                 << (focus ? focus->objectName() : QString()) << form->txtBusca->text()
                 << QString::number(form->dtsPacientes->rowCount());
        };

        toolkit::testing::whenModalOpens([&](QWidget* modal) {
            auto* form = qobject_cast<TfrmLocalizaPaciente*>(modal);
            if (!form) {
                modal->close();
                return;
            }
            first = form;
            observe(form);
            typeAndSearch(*form, "ANA");
            seen << QString::number(form->dtsPacientes->rowCount());
            QTest::mouseClick(form->btnCancelar, Qt::LeftButton);
        });
        forms::ShowLocalizaPaciente(*connection_, *transaction_, selecionar, &owner);
        QVERIFY(closedAndFreed());
        QVERIFY(first.isNull());

        toolkit::testing::whenModalOpens([&](QWidget* modal) {
            auto* form = qobject_cast<TfrmLocalizaPaciente*>(modal);
            if (!form) {
                modal->close();
                return;
            }
            observe(form);
            typeAndSearch(*form, "PEDRO");
            QTest::keyClick(form->grdResultado, Qt::Key_Return);
        });
        forms::ShowLocalizaPaciente(*connection_, *transaction_, selecionar, &owner);
        QVERIFY(closedAndFreed());

        QCOMPARE(seen, (QStringList{"owned", "txtBusca", "", "0", "5", "owned", "txtBusca", "", "0"}));
        QCOMPARE(selected_, QList<int>{12});
    }

    // The designed position until a placement is saved; the saved one afterwards, in the
    // dialog's own section of the placement file.
    void placementKeptBetweenOpenings()
    {
        std::filesystem::remove(platform::placementFilePath());
        TfrmLocalizaPaciente* form = openDialog();
        QCOMPARE(form->pos(), QPoint(306, 223));
        form->move(140, 90);
        QTest::mouseClick(form->btnCancelar, Qt::LeftButton);
        QVERIFY(closedAndFreed());

        QFile file(QString::fromStdString(platform::placementFilePath().string()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("[TfrmLocalizaPaciente]"));

        form = openDialog();
        QCOMPARE(form->pos(), QPoint(140, 90));
        QCOMPARE(form->size(), QSize(736, 444));
    }

    // A list over more rows than one chunk: rows arrive 1000 at a time as the list scrolls, none
    // lost or repeated at the chunk edges, and a result closed under the list stops the fetching.
    void fetchesAsItScrolls()
    {
        testing::TempDatabase large;
        tools::SeedOptions options;
        options.count = 2500;
        options.photoEvery = 0;
        options.consultationsEvery = 0;
        tools::seedPatients(large.location(), options);
        reconnect(large.location());

        // Every row of the same statement, read straight from the server.
        QList<int> expected;
        {
            data::Query all(*connection_, *transaction_);
            all.setSql({"SELECT PAC_COD__, PAC_NOM__ FROM PACIENTES", "ORDER BY PAC_NOM__"});
            for (all.open(); !all.eof(); all.next())
                expected << all.fieldByName("PAC_COD__").asInteger();
        }
        QCOMPARE(expected.size(), 2500);

        TfrmLocalizaPaciente* form = openDialog();
        QTest::keyClick(form->txtBusca, Qt::Key_Return);
        QCOMPARE(form->dtsPacientes->rowCount(), 1000);
        QCOMPARE(form->qryPacientes.recordCount(), 1000u);

        QScrollBar* scroll = form->grdResultado->verticalScrollBar();
        for (const int rows : {2000, 2500}) {
            QApplication::processEvents(); // the list lays out the rows it got
            scroll->setValue(scroll->maximum());
            QCOMPARE(form->dtsPacientes->rowCount(), rows);
            QCOMPARE(form->qryPacientes.recordCount(), quint64(rows));
        }
        QVERIFY(!form->dtsPacientes->canFetchMore({}));
        // Equal names come in the server's order, so the rows are compared as a set: none lost,
        // none twice.
        QList<int> listed = listedCodes(*form);
        std::sort(listed.begin(), listed.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(listed, expected);

        // The transaction ends under an open list: the rows shown stay, nothing more is fetched.
        form->txtBusca->setFocus();
        QTest::keyClick(form->txtBusca, Qt::Key_Return);
        QCOMPARE(form->dtsPacientes->rowCount(), 1000);
        transaction_->rollback();
        QVERIFY(!form->dtsPacientes->canFetchMore({}));
        scroll->setValue(scroll->maximum());
        QCOMPARE(form->dtsPacientes->rowCount(), 1000);
        QTest::keyClick(form->grdResultado, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(form->grdResultado->currentIndex().row(), 999);
        const int last = form->dtsPacientes->code(999);
        QTest::keyClick(form->grdResultado, Qt::Key_Return);
        QCOMPARE(selected_, QList<int>{last});
        QVERIFY(closedAndFreed());
        transaction_.reset();
        connection_.reset(); // before the database goes
    }
};

VORLU_QTEST_MAIN(LocalizaPacienteTest)
#include "LocalizaPacienteTest.moc"
