#include "Query.h"

#include "Connection.h"
#include "FirebirdApi.h"
#include "FormatSettings.h"
#include "Transaction.h"
#include "Win1252.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace vorlu::data {
namespace {

template <typename T>
T readAt(const std::uint8_t* data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

template <typename T>
void writeAt(std::uint8_t* data, T value)
{
    std::memcpy(data, &value, sizeof value);
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

FieldType fieldTypeOf(unsigned sqlType, unsigned subType, int scale)
{
    switch (sqlType) {
    case SQL_TEXT:
    case SQL_VARYING:
        return FieldType::String;
    case SQL_SHORT:
        return scale < 0 ? FieldType::BCD : FieldType::SmallInt;
    case SQL_LONG:
        return scale < 0 ? FieldType::BCD : FieldType::Integer;
    case SQL_INT64:
        return scale < 0 ? FieldType::BCD : FieldType::LargeInt;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return FieldType::Float;
    case SQL_TYPE_DATE:
        return FieldType::Date;
    case SQL_TYPE_TIME:
        return FieldType::Time;
    case SQL_TIMESTAMP:
        return FieldType::DateTime;
    case SQL_BLOB:
        return subType == isc_blob_text ? FieldType::Memo : FieldType::Blob;
    case SQL_BOOLEAN:
        return FieldType::SmallInt;
    default:
        return FieldType::String;
    }
}

// Kinds that hold the same sort of value; a field of one accepts a column of another.
int fieldFamily(FieldType type)
{
    switch (type) {
    case FieldType::String:
        return 0;
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt:
        return 1;
    case FieldType::Float:
    case FieldType::BCD:
        return 2;
    case FieldType::Date:
    case FieldType::DateTime: // a dialect 1 DATE is a timestamp
        return 3;
    case FieldType::Time:
        return 4;
    case FieldType::Blob:
    case FieldType::Memo:
        return 5;
    }
    return -1;
}

// The shortest general form that gives the value back, with at most 15 significant digits,
// in the workstation's decimal separator; scientific notation only for very large or small
// magnitudes ("1,5E20", "1E-5").
std::string formatFloat(double value, bool single)
{
    if (value == 0)
        return "0";
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    char buffer[64];
    int precision = 15;
    for (int p = 1; p <= 15; ++p) {
        std::snprintf(buffer, sizeof buffer, "%.*E", p - 1, value);
        const double back = std::strtod(buffer, nullptr);
        if (single ? static_cast<float>(back) == static_cast<float>(value) : back == value) {
            precision = p;
            break;
        }
    }
    std::snprintf(buffer, sizeof buffer, "%.*E", precision - 1, value);
    std::string scientific(buffer);
    const auto ePos = scientific.find('E');
    const int exponent = std::atoi(scientific.c_str() + ePos + 1);

    std::string text;
    if (exponent < -4 || exponent >= 15) {
        std::string mantissa = scientific.substr(0, ePos);
        if (mantissa.find('.') != std::string::npos) {
            while (mantissa.back() == '0')
                mantissa.pop_back();
            if (mantissa.back() == '.')
                mantissa.pop_back();
        }
        text = mantissa + "E" + std::to_string(exponent);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.*f", std::max(0, precision - 1 - exponent), value);
        text = buffer;
        if (text.find('.') != std::string::npos) {
            while (text.back() == '0')
                text.pop_back();
            if (text.back() == '.')
                text.pop_back();
        }
    }
    std::replace(text.begin(), text.end(), '.', decimalSeparator());
    return text;
}

// A scaled integer (NUMERIC, DECIMAL) as exact decimal text without trailing zeros.
std::string formatScaled(std::int64_t value, int scale)
{
    if (scale >= 0) {
        std::string text = std::to_string(value);
        if (value != 0)
            text.append(static_cast<size_t>(scale), '0');
        return text;
    }
    const bool negative = value < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    const size_t places = static_cast<size_t>(-scale);
    if (digits.size() <= places)
        digits.insert(0, places - digits.size() + 1, '0');
    std::string integral = digits.substr(0, digits.size() - places);
    std::string fraction = digits.substr(digits.size() - places);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = (negative ? "-" : "") + integral;
    if (!fraction.empty())
        text += decimalSeparator() + fraction;
    return text;
}

std::string formatDate(int iscDate)
{
    unsigned year = 0, month = 0, day = 0;
    fb::util()->decodeDate(iscDate, &year, &month, &day);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02u/%02u/%04u", day, month, year);
    return buffer;
}

std::string formatTime(unsigned iscTime)
{
    unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
    fb::util()->decodeTime(iscTime, &hours, &minutes, &seconds, &fractions);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u", hours, minutes, seconds);
    return buffer;
}

std::int32_t parseInteger(const std::string& text)
{
    std::string_view view(text);
    while (!view.empty() && view.front() == ' ')
        view.remove_prefix(1);
    while (!view.empty() && view.back() == ' ')
        view.remove_suffix(1);
    if (!view.empty() && view.front() == '+')
        view.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), value);
    if (view.empty() || error != std::errc() || end != view.data() + view.size())
        throw DataError("'" + text + "' não é um valor Inteiro válido");
    return value;
}

double parseFloat(const std::string& text)
{
    std::string normalized = text;
    std::replace(normalized.begin(), normalized.end(), decimalSeparator(), '.');
    char* end = nullptr;
    const double value = std::strtod(normalized.c_str(), &end);
    if (normalized.empty() || *end != '\0')
        throw DataError("'" + text + "' não é um valor de ponto flutuante válido");
    return value;
}

} // namespace

const char* fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String: return "String";
    case FieldType::SmallInt: return "SmallInt";
    case FieldType::Integer: return "Integer";
    case FieldType::LargeInt: return "LargeInt";
    case FieldType::Float: return "Float";
    case FieldType::BCD: return "BCD";
    case FieldType::Date: return "Date";
    case FieldType::Time: return "Time";
    case FieldType::DateTime: return "DateTime";
    case FieldType::Blob: return "Blob";
    case FieldType::Memo: return "Memo";
    }
    return "Unknown";
}

// ---------------------------------------------------------------------------------------------
// Query handle

struct Query::Handle {
    fb::Ref<Firebird::IStatement> statement;
    fb::Ref<Firebird::IMessageMetadata> input;
    fb::Ref<Firebird::IMessageMetadata> output;
    fb::Ref<Firebird::IResultSet> cursor;
    unsigned statementType = 0;
};

struct Query::InputMessage {
    fb::Ref<Firebird::IMessageMetadata> metadata;
    std::vector<std::uint8_t> buffer;
};

Query::Query(Connection& database, Transaction& transaction)
    : database_(database), transaction_(transaction), handle_(std::make_unique<Handle>())
{
    transaction_.addQuery(this);
}

Query::~Query()
{
    try {
        unprepare();
    } catch (...) {
    }
    transaction_.removeQuery(this);
}

// ---------------------------------------------------------------------------------------------
// Text and parameters

void Query::clearSql() { setSql({}); }

void Query::addSql(std::string_view line)
{
    auto lines = sql_;
    lines.emplace_back(line);
    setSql(std::move(lines));
}

void Query::setSql(std::vector<std::string> lines)
{
    unprepare();
    sql_ = std::move(lines);
    parseParams();
}

std::string Query::statementText() const
{
    std::string text;
    for (const auto& line : sql_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void Query::parseParams()
{
    const std::string text = statementText();
    serverText_.clear();
    serverText_.reserve(text.size());
    std::vector<std::unique_ptr<Param>> params;
    paramPositions_.clear();

    // Carry over nothing: a new text has new parameters.
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            // A quoted string or identifier, with the quote doubled inside it.
            size_t end = i + 1;
            while (end < text.size()) {
                if (text[end] == c) {
                    if (end + 1 < text.size() && text[end + 1] == c) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            end = std::min(end + 1, text.size());
            serverText_.append(text, i, end - i);
            i = end;
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            const size_t end = std::min(text.find('\n', i), text.size());
            serverText_.append(text, i, end - i);
            i = end;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const size_t close = text.find("*/", i + 2);
            const size_t end = close == std::string::npos ? text.size() : close + 2;
            serverText_.append(text, i, end - i);
            i = end;
        } else if (c == ':' && i + 1 < text.size() && isNameChar(text[i + 1])) {
            size_t end = i + 1;
            while (end < text.size() && isNameChar(text[end]))
                ++end;
            const std::string name = upper(std::string_view(text).substr(i + 1, end - i - 1));
            auto found = std::find_if(params.begin(), params.end(), [&](const auto& p) { return p->name() == name; });
            if (found == params.end()) {
                params.push_back(std::unique_ptr<Param>(new Param(name)));
                found = params.end() - 1;
            }
            paramPositions_.push_back(found->get());
            serverText_ += '?';
            i = end;
        } else {
            serverText_ += c;
            ++i;
        }
    }
    params_ = std::move(params);
}

Param& Query::paramByName(std::string_view name)
{
    prepare();
    for (auto& param : params_)
        if (sameName(param->name(), name))
            return *param;
    throw DataError("Parâmetro '" + std::string(name) + "' não encontrado");
}

const std::vector<std::unique_ptr<Param>>& Query::params()
{
    prepare();
    return params_;
}

void Param::setAsString(std::string_view utf8) { value_ = std::string(utf8); }
void Param::setAsDate(DateTime date) { value_ = Date{iscDateFromDateTime(date)}; }
void Param::setAsInteger(std::int32_t value) { value_ = value; }
void Param::loadFromStream(const MemoryStream& stream) { value_ = Bytes{stream.bytes()}; }
void Param::clear() { value_ = std::monostate{}; }

// ---------------------------------------------------------------------------------------------
// Preparing

void Query::ensureStarted()
{
    if (!database_.connected())
        database_.open();
    if (!transaction_.active())
        transaction_.start();
}

bool Query::prepared() const { return static_cast<bool>(handle_->statement); }

void Query::prepare()
{
    if (prepared())
        return;
    if (sql_.empty())
        throw DataError("O comando SQL está vazio");
    // Spliced text travels in the database's single-byte encoding like any parameter.
    const std::string text = toWin1252(serverText_);
    ensureStarted();
    fb::Status status;
    fb::Ref<Firebird::IStatement> statement(database_.attachment()->prepare(
        &status, transaction_.handle(), static_cast<unsigned>(text.size()), text.c_str(),
        static_cast<unsigned>(database_.dialect()), Firebird::IStatement::PREPARE_PREFETCH_METADATA));
    status.check();
    const unsigned type = statement->getType(&status);
    fb::Ref<Firebird::IMessageMetadata> input(statement->getInputMetadata(&status));
    fb::Ref<Firebird::IMessageMetadata> output(statement->getOutputMetadata(&status));
    status.check();
    if (input->getCount(&status) != paramPositions_.size())
        throw DataError("O número de parâmetros do comando SQL não confere");
    handle_->statementType = type;
    handle_->input = std::move(input);
    handle_->output = std::move(output);
    handle_->statement = std::move(statement);
    buildFields();
}

void Query::unprepare()
{
    close();
    if (handle_->statement) {
        fb::Status status;
        handle_->statement->free(&status);
        if (!status.failed())
            handle_->statement.release();
        handle_->statement.reset();
    }
    handle_->input.reset();
    handle_->output.reset();
}

void Query::buildFields()
{
    fb::Status status;
    auto* meta = handle_->output.get();
    const unsigned count = meta->getCount(&status);
    std::vector<std::unique_ptr<Field>> fields;
    for (unsigned i = 0; i < count; ++i) {
        auto field = std::unique_ptr<Field>(new Field(*this, i));
        const char* alias = meta->getAlias(&status, i);
        field->name_ = alias && *alias ? alias : meta->getField(&status, i);
        field->sqlType_ = meta->getType(&status, i) & ~1u;
        field->subType_ = static_cast<unsigned>(meta->getSubType(&status, i));
        field->scale_ = meta->getScale(&status, i);
        field->length_ = meta->getLength(&status, i);
        field->offset_ = meta->getOffset(&status, i);
        field->nullOffset_ = meta->getNullOffset(&status, i);
        field->type_ = fieldTypeOf(field->sqlType_, field->subType_, field->scale_);
        fields.push_back(std::move(field));
    }
    messageLength_ = meta->getMessageLength(&status);
    status.check();
    fields_ = std::move(fields);
}

void Query::checkFieldDefs()
{
    for (const auto& def : fieldDefs_) {
        Field* field = findField(def.name);
        if (!field)
            throw DataError("Campo '" + def.name + "' não encontrado");
        if (fieldFamily(field->type()) != fieldFamily(def.type))
            throw DataError("Campo '" + def.name + "' não é do tipo esperado, esperando: " +
                            fieldTypeName(def.type) + " atual: " + fieldTypeName(field->type()));
    }
}

// ---------------------------------------------------------------------------------------------
// Input message

Query::InputMessage Query::buildInput()
{
    InputMessage message;
    if (paramPositions_.empty())
        return message;

    // Convert every text first: a character Windows-1252 cannot hold stops the statement
    // before anything reaches the server.
    std::vector<std::string> encoded(paramPositions_.size());
    for (size_t i = 0; i < paramPositions_.size(); ++i)
        if (const auto* text = std::get_if<std::string>(&paramPositions_[i]->value_))
            encoded[i] = toWin1252(*text);

    fb::Status status;
    auto* described = handle_->input.get();
    fb::Ref<Firebird::IMetadataBuilder> builder(described->getBuilder(&status));
    status.check();

    enum class Send { Null, Text, Blob, Date, Timestamp, Integer };
    std::vector<Send> sends(paramPositions_.size(), Send::Null);
    for (unsigned i = 0; i < paramPositions_.size(); ++i) {
        const Param& param = *paramPositions_[i];
        const unsigned type = described->getType(&status, i) & ~1u;
        status.check();
        const bool isBlob = type == SQL_BLOB;
        const bool isText = type == SQL_TEXT || type == SQL_VARYING;
        if (std::holds_alternative<std::string>(param.value_)) {
            const auto& bytes = encoded[i];
            if (isBlob) {
                sends[i] = Send::Blob;
            } else if (isText || !bytes.empty()) {
                // Into a text column as typed; into any other column the server converts it.
                sends[i] = Send::Text;
                builder->setType(&status, i, SQL_VARYING);
                builder->setLength(&status, i, static_cast<unsigned>(std::max<size_t>(bytes.size(), 1)));
                if (!isText)
                    builder->setCharSet(&status, i, 0); // CS_NONE: plain digits
            }
        } else if (std::holds_alternative<Param::Date>(param.value_)) {
            if (type == SQL_TIMESTAMP) {
                sends[i] = Send::Timestamp;
            } else {
                sends[i] = Send::Date;
                builder->setType(&status, i, SQL_TYPE_DATE);
                builder->setLength(&status, i, sizeof(ISC_DATE));
            }
        } else if (std::holds_alternative<std::int32_t>(param.value_)) {
            sends[i] = Send::Integer;
            builder->setType(&status, i, SQL_LONG);
            builder->setLength(&status, i, sizeof(ISC_LONG));
            builder->setScale(&status, i, 0);
        } else if (std::holds_alternative<Param::Bytes>(param.value_)) {
            if (!isBlob)
                throw DataError("O parâmetro '" + param.name() + "' não é um campo Blob");
            sends[i] = Send::Blob;
        }
        status.check();
    }
    message.metadata.reset(builder->getMetadata(&status));
    status.check();
    auto* meta = message.metadata.get();
    message.buffer.assign(meta->getMessageLength(&status), 0);
    status.check();

    for (unsigned i = 0; i < paramPositions_.size(); ++i) {
        const Param& param = *paramPositions_[i];
        std::uint8_t* data = message.buffer.data() + meta->getOffset(&status, i);
        std::uint8_t* null = message.buffer.data() + meta->getNullOffset(&status, i);
        status.check();
        writeAt<ISC_SHORT>(null, sends[i] == Send::Null ? -1 : 0);
        switch (sends[i]) {
        case Send::Null:
            break;
        case Send::Text: {
            const auto& bytes = encoded[i];
            writeAt<ISC_USHORT>(data, static_cast<ISC_USHORT>(bytes.size()));
            std::memcpy(data + sizeof(ISC_USHORT), bytes.data(), bytes.size());
            break;
        }
        case Send::Date:
            writeAt<ISC_DATE>(data, std::get<Param::Date>(param.value_).iscDate);
            break;
        case Send::Timestamp:
            writeAt<ISC_DATE>(data, std::get<Param::Date>(param.value_).iscDate);
            writeAt<ISC_TIME>(data + sizeof(ISC_DATE), 0);
            break;
        case Send::Integer:
            writeAt<ISC_LONG>(data, std::get<std::int32_t>(param.value_));
            break;
        case Send::Blob: {
            const std::uint8_t* bytes;
            size_t size;
            if (const auto* blob = std::get_if<Param::Bytes>(&param.value_)) {
                bytes = blob->bytes.data();
                size = blob->bytes.size();
            } else {
                bytes = reinterpret_cast<const std::uint8_t*>(encoded[i].data());
                size = encoded[i].size();
            }
            ISC_QUAD id{};
            fb::Ref<Firebird::IBlob> blob(
                database_.attachment()->createBlob(&status, transaction_.handle(), &id, 0, nullptr));
            status.check();
            constexpr size_t kSegment = 32768;
            for (size_t done = 0; done < size; done += kSegment) {
                const auto length = static_cast<unsigned>(std::min(kSegment, size - done));
                blob->putSegment(&status, length, bytes + done);
                status.check();
            }
            blob->close(&status);
            status.check();
            blob.release();
            writeAt<ISC_QUAD>(data, id);
            break;
        }
        }
    }
    return message;
}

// ---------------------------------------------------------------------------------------------
// Running

void Query::open()
{
    close();
    prepare();
    if (fields_.empty())
        throw DataError("O comando SQL não retorna registros");
    auto input = buildInput();
    fb::Status status;
    fb::Ref<Firebird::IResultSet> cursor(handle_->statement->openCursor(
        &status, transaction_.handle(), input.metadata.get(), input.buffer.empty() ? nullptr : input.buffer.data(),
        handle_->output.get(), 0));
    status.check();
    handle_->cursor = std::move(cursor);
    active_ = true;
    eof_ = false;
    exhausted_ = false;
    fetched_ = 0;
    rowsInChunk_ = 0;
    rowInChunk_ = 0;
    try {
        checkFieldDefs();
        if (!fetchRow())
            eof_ = true;
    } catch (...) {
        close();
        throw;
    }
    if (afterOpen)
        afterOpen();
}

void Query::execSql()
{
    close();
    rowsAffected_ = 0;
    prepare();
    auto input = buildInput();
    fb::Status status;
    std::vector<std::uint8_t> output;
    const bool returnsRow = !fields_.empty() && handle_->statementType != isc_info_sql_stmt_select &&
                            handle_->statementType != isc_info_sql_stmt_select_for_upd;
    if (returnsRow)
        output.resize(messageLength_);
    if (!fields_.empty() && !returnsRow) {
        // A SELECT run without a result: open and drop its cursor.
        fb::Ref<Firebird::IResultSet> cursor(handle_->statement->openCursor(
            &status, transaction_.handle(), input.metadata.get(),
            input.buffer.empty() ? nullptr : input.buffer.data(), handle_->output.get(), 0));
        status.check();
        cursor->close(&status);
        if (!status.failed())
            cursor.release();
        return;
    }
    handle_->statement->execute(&status, transaction_.handle(), input.metadata.get(),
                                input.buffer.empty() ? nullptr : input.buffer.data(),
                                returnsRow ? handle_->output.get() : nullptr, returnsRow ? output.data() : nullptr);
    status.check();
    rowsAffected_ = handle_->statement->getAffectedRecords(&status);
    status.check();
}

bool Query::fetchRow()
{
    if (exhausted_ || !handle_->cursor)
        return false;
    if (chunk_.size() < size_t{kBufferChunks} * messageLength_)
        chunk_.resize(size_t{kBufferChunks} * messageLength_);
    // A full block starts over: the rows of one block stay addressable, never the whole result.
    const unsigned slot = rowsInChunk_ == kBufferChunks ? 0 : rowsInChunk_;
    fb::Status status;
    const int result = handle_->cursor->fetchNext(&status, chunk_.data() + size_t{slot} * messageLength_);
    if (result == Firebird::IStatus::RESULT_NO_DATA) {
        exhausted_ = true;
        return false;
    }
    if (result != Firebird::IStatus::RESULT_OK) {
        status.check();
        return false;
    }
    rowsInChunk_ = slot + 1;
    rowInChunk_ = slot;
    ++fetched_;
    return true;
}

void Query::next()
{
    if (!active_ || eof_)
        return;
    // The last row stays current when there is no more.
    if (!fetchRow())
        eof_ = true;
}

void Query::close()
{
    if (handle_->cursor) {
        fb::Status status;
        handle_->cursor->close(&status);
        if (!status.failed())
            handle_->cursor.release();
        handle_->cursor.reset();
    }
    active_ = false;
    eof_ = true;
    exhausted_ = true;
    fetched_ = 0;
    rowsInChunk_ = 0;
    rowInChunk_ = 0;
}

bool Query::isEmpty() const { return !active_ || fetched_ == 0; }

bool Query::eof() const { return !active_ || eof_; }

const std::uint8_t* Query::currentRow() const
{
    if (!active_ || rowsInChunk_ == 0)
        return nullptr;
    return chunk_.data() + size_t{rowInChunk_} * messageLength_;
}

Field* Query::findField(std::string_view name)
{
    for (auto& field : fields_)
        if (sameName(field->name(), name))
            return field.get();
    return nullptr;
}

Field& Query::fieldByName(std::string_view name)
{
    if (!prepared() && fields_.empty() && !sql_.empty())
        prepare();
    if (Field* field = findField(name))
        return *field;
    throw DataError("Campo '" + std::string(name) + "' não encontrado");
}

// ---------------------------------------------------------------------------------------------
// Field

Field::Field(Query& owner, unsigned index) : owner_(owner), index_(index) {}

const std::uint8_t* Field::data() const
{
    const std::uint8_t* row = owner_.currentRow();
    if (!row || readAt<ISC_SHORT>(row + nullOffset_) != 0)
        return nullptr;
    return row + offset_;
}

bool Field::isNull() const { return data() == nullptr; }

std::string Field::blobBytes() const
{
    const std::uint8_t* value = data();
    if (!value)
        return {};
    auto id = readAt<ISC_QUAD>(value);
    fb::Status status;
    fb::Ref<Firebird::IBlob> blob(
        owner_.database_.attachment()->openBlob(&status, owner_.transaction_.handle(), &id, 0, nullptr));
    status.check();
    std::string bytes;
    char segment[32768];
    for (;;) {
        unsigned length = 0;
        const int result = blob->getSegment(&status, sizeof segment, segment, &length);
        if (result == Firebird::IStatus::RESULT_OK || result == Firebird::IStatus::RESULT_SEGMENT) {
            bytes.append(segment, length);
            continue;
        }
        if (result == Firebird::IStatus::RESULT_NO_DATA)
            break;
        status.check();
        break;
    }
    blob->close(&status);
    status.check();
    blob.release();
    return bytes;
}

std::string Field::numberText() const
{
    const std::uint8_t* value = data();
    switch (sqlType_) {
    case SQL_SHORT:
        return formatScaled(readAt<ISC_SHORT>(value), scale_);
    case SQL_LONG:
        return formatScaled(readAt<ISC_LONG>(value), scale_);
    case SQL_INT64:
        return formatScaled(readAt<ISC_INT64>(value), scale_);
    case SQL_BOOLEAN:
        return readAt<FB_BOOLEAN>(value) ? "True" : "False";
    default:
        return {};
    }
}

std::string Field::asString() const
{
    const std::uint8_t* value = data();
    if (!value)
        return {};
    switch (sqlType_) {
    case SQL_TEXT:
        return fromWin1252(std::string_view(reinterpret_cast<const char*>(value), length_));
    case SQL_VARYING: {
        const auto length = readAt<ISC_USHORT>(value);
        return fromWin1252(std::string_view(reinterpret_cast<const char*>(value) + sizeof(ISC_USHORT), length));
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
    case SQL_BOOLEAN:
        return numberText();
    case SQL_FLOAT:
        return formatFloat(readAt<float>(value), true);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return formatFloat(readAt<double>(value), false);
    case SQL_TYPE_DATE:
        return formatDate(readAt<ISC_DATE>(value));
    case SQL_TYPE_TIME:
        return formatTime(readAt<ISC_TIME>(value));
    case SQL_TIMESTAMP:
        return formatDate(readAt<ISC_DATE>(value)) + " " + formatTime(readAt<ISC_TIME>(value + sizeof(ISC_DATE)));
    case SQL_BLOB: {
        std::string bytes = blobBytes();
        return subType_ == isc_blob_text ? fromWin1252(bytes) : bytes;
    }
    default:
        throw DataError("Campo '" + name_ + "' de tipo não suportado");
    }
}

double Field::asFloat() const
{
    const std::uint8_t* value = data();
    if (!value)
        return 0;
    switch (sqlType_) {
    case SQL_SHORT:
        return readAt<ISC_SHORT>(value) * std::pow(10.0, scale_);
    case SQL_LONG:
        return readAt<ISC_LONG>(value) * std::pow(10.0, scale_);
    case SQL_INT64:
        return static_cast<double>(readAt<ISC_INT64>(value)) * std::pow(10.0, scale_);
    case SQL_FLOAT:
        return readAt<float>(value);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return readAt<double>(value);
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIMESTAMP:
        return asDateTime();
    default:
        return parseFloat(asString());
    }
}

DateTime Field::asDateTime() const
{
    const std::uint8_t* value = data();
    if (!value)
        return 0;
    switch (sqlType_) {
    case SQL_TYPE_DATE:
        return dateTimeFromIsc(readAt<ISC_DATE>(value));
    case SQL_TYPE_TIME:
        return readAt<ISC_TIME>(value) / kIscTimeUnitsPerDay;
    case SQL_TIMESTAMP:
        return dateTimeFromIsc(readAt<ISC_DATE>(value), readAt<ISC_TIME>(value + sizeof(ISC_DATE)));
    case SQL_TEXT:
    case SQL_VARYING:
    case SQL_BLOB:
        throw DataError("'" + asString() + "' não é uma data válida");
    default:
        return asFloat();
    }
}

std::int32_t Field::asInteger() const
{
    const std::uint8_t* value = data();
    if (!value)
        return 0;
    switch (sqlType_) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        if (scale_ == 0) {
            const std::int64_t whole = sqlType_ == SQL_SHORT  ? readAt<ISC_SHORT>(value)
                                       : sqlType_ == SQL_LONG ? readAt<ISC_LONG>(value)
                                                              : readAt<ISC_INT64>(value);
            if (whole < std::numeric_limits<std::int32_t>::min() || whole > std::numeric_limits<std::int32_t>::max())
                throw DataError("'" + asString() + "' não é um valor Inteiro válido");
            return static_cast<std::int32_t>(whole);
        }
        [[fallthrough]];
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        const double number = asFloat();
        if (!(number >= std::numeric_limits<std::int32_t>::min() && number <= std::numeric_limits<std::int32_t>::max()))
            throw DataError("'" + asString() + "' não é um valor Inteiro válido");
        return static_cast<std::int32_t>(std::lround(number));
    }
    case SQL_BOOLEAN:
        return readAt<FB_BOOLEAN>(value) ? 1 : 0;
    default:
        return parseInteger(asString());
    }
}

void Field::saveToStream(MemoryStream& stream) const
{
    if (isNull())
        return;
    if (sqlType_ == SQL_BLOB) {
        const std::string bytes = blobBytes();
        stream.write(bytes.data(), bytes.size());
    } else {
        const std::string text = asString();
        stream.write(text.data(), text.size());
    }
}

} // namespace vorlu::data
