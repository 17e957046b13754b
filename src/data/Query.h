#pragma once

#include "DateTime.h"
#include "MemoryStream.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vorlu::data {

class Connection;
class Transaction;
class Query;

// The kind of a column as the program sees it, named as the program's messages name it.
enum class FieldType { String, SmallInt, Integer, LargeInt, Float, BCD, Date, Time, DateTime, Blob, Memo };

const char* fieldTypeName(FieldType type);

// A field the program expects a result to have, checked when the result opens.
struct FieldDef {
    std::string name;
    FieldType type;
};

// One column of the current row of an open result. Without a current row (no result, or a
// result without rows) every column reads as NULL.
class Field {
public:
    const std::string& name() const { return name_; }
    FieldType type() const { return type_; }
    bool isNull() const;

    // NULL reads as empty text, 0, or 0 (no date).
    std::string asString() const;
    DateTime asDateTime() const;
    std::int32_t asInteger() const;
    double asFloat() const;
    // Writes a blob's bytes at the stream's position; NULL or no row writes nothing.
    void saveToStream(MemoryStream& stream) const;

private:
    friend class Query;
    Field(Query& owner, unsigned index);
    const std::uint8_t* data() const;
    std::string blobBytes() const;
    std::string numberText() const;

    Query& owner_;
    unsigned index_;
    std::string name_;
    FieldType type_ = FieldType::String;
    unsigned sqlType_ = 0;
    unsigned subType_ = 0;
    int scale_ = 0;
    unsigned length_ = 0;
    unsigned offset_ = 0;
    unsigned nullOffset_ = 0;
};

// A named parameter of a statement. Unset parameters send NULL.
class Param {
public:
    const std::string& name() const { return name_; }

    // Text: into a text column as typed (empty text is an empty string, not NULL); into a blob
    // as its content; into any other column NULL when empty, otherwise converted by the server.
    void setAsString(std::string_view utf8);
    // Sends the calendar date of a date-time as a DATE.
    void setAsDate(DateTime date);
    void setAsInteger(std::int32_t value);
    // The whole stream, from its start, becomes a new blob; an empty stream an empty blob.
    void loadFromStream(const MemoryStream& stream);
    void clear();
    bool isNull() const { return std::holds_alternative<std::monostate>(value_); }

private:
    friend class Query;
    explicit Param(std::string name) : name_(std::move(name)) {}

    struct Date {
        int iscDate;
    };
    struct Bytes {
        std::vector<std::uint8_t> bytes;
    };
    std::string name_;
    std::variant<std::monostate, std::string, Date, std::int32_t, Bytes> value_;
};

// A statement component (datRegistros, qryAuxiliar, qryPacientes). Its text is a list of
// lines; the statement sent is each line followed by CR LF. Parameters are written as a colon
// and a name. Preparing, opening or executing connects and starts the transaction when needed.
// Rows are fetched from the server one at a time as they are read (the client library
// prefetches over the wire), into a buffer that holds the last block of kBufferChunks rows.
class Query {
public:
    static constexpr unsigned kBufferChunks = 1000;

    Query(Connection& database, Transaction& transaction);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Changing the text closes the query, frees its prepared statement and reads the
    // parameter names again.
    const std::vector<std::string>& sql() const { return sql_; }
    void clearSql();
    void addSql(std::string_view line);
    void setSql(std::vector<std::string> lines);
    std::string statementText() const;

    // Prepares the statement when it is not prepared yet.
    Param& paramByName(std::string_view name);
    const std::vector<std::unique_ptr<Param>>& params();

    void prepare();
    bool prepared() const;
    void unprepare();

    // Runs a statement that returns rows and stands on the first row.
    void open();
    // Runs a statement that returns no rows.
    void execSql();
    // The rows the last execSql inserted, changed or deleted.
    std::uint64_t rowsAffected() const { return rowsAffected_; }
    void close();

    bool active() const { return active_; }
    bool isEmpty() const;
    bool eof() const;
    // The rows fetched so far.
    std::uint64_t recordCount() const { return fetched_; }
    void next();

    Field& fieldByName(std::string_view name);
    Field* findField(std::string_view name);
    const std::vector<std::unique_ptr<Field>>& fields() const { return fields_; }

    // The fields this query's results must have; a missing or incompatible column makes the
    // open fail, with the result closed again.
    void setFieldDefs(std::vector<FieldDef> defs) { fieldDefs_ = std::move(defs); }

    // Runs after every successful open.
    std::function<void()> afterOpen;

    Connection& database() const { return database_; }
    Transaction& transaction() const { return transaction_; }

private:
    friend class Field;
    friend class Transaction;
    void parseParams();
    void ensureStarted();
    void buildFields();
    void checkFieldDefs();
    bool fetchRow();
    struct InputMessage;
    InputMessage buildInput();
    const std::uint8_t* currentRow() const;

    struct Handle;
    Connection& database_;
    Transaction& transaction_;
    std::unique_ptr<Handle> handle_;
    std::vector<std::string> sql_;
    std::string serverText_;
    std::vector<std::unique_ptr<Param>> params_;
    std::vector<Param*> paramPositions_;
    std::vector<std::unique_ptr<Field>> fields_;
    std::vector<FieldDef> fieldDefs_;

    bool active_ = false;
    bool eof_ = true;
    bool exhausted_ = true;
    std::uint64_t fetched_ = 0;
    std::uint64_t rowsAffected_ = 0;
    std::vector<std::uint8_t> chunk_;
    unsigned rowsInChunk_ = 0;
    unsigned rowInChunk_ = 0;
    unsigned messageLength_ = 0;
};

} // namespace vorlu::data
