#include "PatientResultModel.h"

#include "data/Query.h"

#include <limits>

namespace vorlu::forms {

std::string_view PatientResultModel::Chunk::nameAt(std::size_t i) const
{
    const std::size_t begin = i == 0 ? 0 : nameEnds[i - 1];
    return std::string_view(names).substr(begin, nameEnds[i] - begin);
}

PatientResultModel::PatientResultModel(QObject* parent) : QAbstractTableModel(parent) {}

PatientResultModel::~PatientResultModel() = default;

void PatientResultModel::detach()
{
    query_ = nullptr;
    codeField_ = nullptr;
    nameField_ = nullptr;
    advancePending_ = false;
}

void PatientResultModel::attach(data::Query& query)
{
    std::exception_ptr failure;
    beginResetModel();
    detach();
    chunks_.clear();
    rows_ = 0;
    textBytes_ = 0;
    if (query.active()) {
        try {
            codeField_ = &query.fieldByName("PAC_COD__");
            nameField_ = &query.fieldByName("PAC_NOM__");
            query_ = &query;
        } catch (...) {
            detach();
            failure = std::current_exception();
        }
        if (query_) {
            // The first chunk is already in the statement's buffer: the first screen needs no
            // further trip to the server.
            auto chunk = std::make_unique<Chunk>();
            failure = readChunk(*chunk);
            if (!chunk->codes.empty()) {
                rows_ = static_cast<int>(chunk->codes.size());
                chunks_.push_back(std::move(chunk));
            }
        }
    }
    endResetModel();
    if (failure)
        std::rethrow_exception(failure);
}

void PatientResultModel::clear()
{
    beginResetModel();
    detach();
    chunks_.clear();
    rows_ = 0;
    textBytes_ = 0;
    endResetModel();
}

std::exception_ptr PatientResultModel::readChunk(Chunk& chunk)
{
    chunk.codes.reserve(kChunkRows);
    chunk.nameEnds.reserve(kChunkRows);
    std::exception_ptr failure;
    try {
        if (advancePending_) {
            advancePending_ = false;
            query_->next();
        }
        while (chunk.codes.size() < std::size_t{kChunkRows} && !query_->eof()) {
            const std::int32_t code = codeField_->asInteger();
            const std::string name = nameField_->asString();
            chunk.codes.push_back(code);
            chunk.names += name;
            chunk.nameEnds.push_back(static_cast<std::uint32_t>(chunk.names.size()));
            if (chunk.codes.size() < std::size_t{kChunkRows})
                query_->next();
            else
                advancePending_ = true; // the next chunk is fetched when the list wants it
        }
        if (query_->eof())
            detach();
    } catch (...) {
        detach();
        failure = std::current_exception();
    }
    chunk.names.shrink_to_fit();
    textBytes_ += chunk.names.size();
    return failure;
}

bool PatientResultModel::canFetchMore(const QModelIndex& parent) const
{
    // The statement may have been closed under the list (the transaction ended).
    return !parent.isValid() && query_ && query_->active() && (advancePending_ || !query_->eof());
}

void PatientResultModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    auto chunk = std::make_unique<Chunk>();
    const std::exception_ptr failure = readChunk(*chunk);
    if (const int count = static_cast<int>(chunk->codes.size()); count > 0) {
        beginInsertRows({}, rows_, rows_ + count - 1);
        chunks_.push_back(std::move(chunk));
        rows_ += count;
        endInsertRows();
    }
    if (failure)
        std::rethrow_exception(failure);
}

const PatientResultModel::Chunk& PatientResultModel::chunkOf(int row, std::size_t& index) const
{
    // Every chunk but the last is full.
    const auto which = static_cast<std::size_t>(row) / kChunkRows;
    index = static_cast<std::size_t>(row) % kChunkRows;
    return *chunks_[which];
}

std::int32_t PatientResultModel::code(int row) const
{
    if (row < 0 || row >= rows_)
        return 0;
    std::size_t i = 0;
    return chunkOf(row, i).codes[i];
}

QString PatientResultModel::name(int row) const
{
    if (row < 0 || row >= rows_)
        return {};
    std::size_t i = 0;
    const std::string_view bytes = chunkOf(row, i).nameAt(i);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::size_t PatientResultModel::heldBytes() const
{
    std::size_t bytes = sizeof *this + chunks_.capacity() * sizeof(std::unique_ptr<Chunk>);
    for (const auto& chunk : chunks_) {
        bytes += sizeof(Chunk);
        bytes += chunk->codes.capacity() * sizeof(std::int32_t);
        bytes += chunk->nameEnds.capacity() * sizeof(std::uint32_t);
        bytes += chunk->names.capacity();
    }
    return bytes;
}

int PatientResultModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int PatientResultModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant PatientResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == CodeColumn)
            return code(index.row());
        return name(index.row());
    case Qt::TextAlignmentRole:
        // Numbers to the right, text to the left, as data-aware grids show them.
        return index.column() == CodeColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant PatientResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return section == CodeColumn ? QStringLiteral("Código") : QStringLiteral("Nome");
    case Qt::TextAlignmentRole:
        return QVariant(Qt::AlignCenter);
    default:
        return {};
    }
}

Qt::ItemFlags PatientResultModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace vorlu::forms
