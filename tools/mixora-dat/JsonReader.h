// A pull reader of JSON text in UTF-8: the caller walks the document in order, reading each value
// as the kind it expects. Unlike QJsonDocument it lets the import refuse a key that appears twice
// in an object (QJsonDocument keeps the last one silently), keep the members in document order,
// limit nesting to MaxDepth and name the line of a syntax error.
#pragma once

#include <QByteArray>
#include <QString>

#include <deque>
#include <string_view>

class JsonReader {
public:
    enum class Kind { Object, Array, String, Number, Bool, Null, Invalid };

    static constexpr int MaxDepth = 64;

    // A byte order mark at the start is passed over.
    explicit JsonReader(const QByteArray& json);

    // The kind of the value at the current position; Invalid after an error or at the end.
    Kind Next();

    // Read the value at the current position as the kind they name; false, with the position
    // unchanged, when the value is of another kind. A malformed value makes them fail for good.
    bool String(QString& out);
    bool Number(double& out);
    bool Bool(bool& out);
    // Skips a value of any kind.
    bool Skip();

    // Objects: Enter, then NextMember for each member (giving its key, which stays valid while
    // the reader lives; the value follows), until
    // it returns false at the closing brace (or on an error). Containers nest at most MaxDepth
    // deep.
    bool EnterObject();
    bool NextMember(std::string_view& key);
    // Arrays: Enter, then NextItem before each item, until it returns false at the closing
    // bracket (or on an error).
    bool EnterArray();
    bool NextItem();

    // Checks that nothing but white space follows the document; false, as an error, otherwise.
    bool Finish();

    bool Failed() const { return !error.isEmpty(); }
    // "line 12: not valid JSON: ..." for the first error met.
    QString Error() const { return error; }

private:
    void SkipSpace();
    bool Fail(const char* what);
    bool Expect(char c, const char* what);
    bool ScanString(const char*& begin, const char*& end, bool& escaped);
    bool Enter(Kind kind);
    // Before the next member or item of the container being read: false at its closing `close`
    // (or on an error), true past the comma that separates it from the one before.
    bool Continue(char close, const char* expected);

    const char* p;
    const char* end;
    int line = 1;
    bool firstMember = false; // whether the next member or item is the first of its container
    int depth = 0;            // containers entered and not yet closed
    std::deque<QByteArray> decodedKeys; // keys with escapes, decoded; kept while the reader lives
    QString error;
};
