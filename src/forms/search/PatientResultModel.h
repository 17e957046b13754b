#pragma once

#include <QAbstractTableModel>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorlu::data {
class Field;
class Query;
} // namespace vorlu::data

namespace vorlu::forms {

// The rows of the search dialog's result (dtsPacientes): the code and the name of each patient,
// read from an open statement 1000 rows at a time as the list scrolls, never all at once.
// The rows read so far are kept compactly (the code, the name's UTF-8 bytes and one offset), so a
// list scrolled to the end of a large table holds little more than the names themselves.
// Read-only: the list never changes the data.
class PatientResultModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kChunkRows = 1000;
    enum Column { CodeColumn = 0, NameColumn = 1 };

    explicit PatientResultModel(QObject* parent = nullptr);
    ~PatientResultModel() override;

    // Shows the open result of the statement, starting with its first chunk at once; a closed
    // statement gives an empty list. The statement must have the columns PAC_COD__ and PAC_NOM__
    // and must outlive the model or be detached with clear() first.
    void attach(data::Query& query);
    // Empties the list and lets go of the statement.
    void clear();
    bool attached() const { return query_ != nullptr; }

    std::int32_t code(int row) const;
    QString name(int row) const;
    // Bytes held for the rows read: every buffer's capacity plus the chunk bookkeeping.
    std::size_t heldBytes() const;
    // The bytes of the names alone.
    std::size_t textBytes() const { return textBytes_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Chunk {
        std::vector<std::int32_t> codes;
        std::vector<std::uint32_t> nameEnds; // end of each name in `names`
        std::string names;
        std::string_view nameAt(std::size_t i) const;
    };

    // Reads up to kChunkRows rows from the statement into the chunk. A failing fetch ends the
    // reading (it would fail again on every scroll); the rows read before it stay and the
    // failure is handed back for the caller to raise once they are shown.
    std::exception_ptr readChunk(Chunk& chunk);
    void detach();
    const Chunk& chunkOf(int row, std::size_t& index) const;

    data::Query* query_ = nullptr;
    data::Field* codeField_ = nullptr;
    data::Field* nameField_ = nullptr;
    // The statement stands on the last row copied; it moves on only when the next chunk is
    // wanted, so the server is asked for rows only as the list needs them.
    bool advancePending_ = false;
    std::vector<std::unique_ptr<Chunk>> chunks_;
    int rows_ = 0;
    std::size_t textBytes_ = 0;
};

} // namespace vorlu::forms
