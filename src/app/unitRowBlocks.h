#pragma once
// Rows of a long list kept as one compact block each: the row's values one
// after the other (texts as UTF-8 with their length, whole numbers in as few
// bytes as they need, amounts as the 8 bytes of the number), in large shared
// chunks of memory. A list of a million rows then costs little more than its
// text, and a row is decoded only when a view asks for one of its cells.
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <memory>
#include <vector>

// Reads the values of one row in the order they were written.
class TRowReader {
public:
    explicit TRowReader(const char* block) : m_at(block) {}

    QByteArrayView utf8();      // the next value, a text, as its stored bytes
    QString text();             // the next value, a text
    qint64 integer();           // the next value, a whole number
    double real();              // the next value, an amount
    void skipTexts(int count);  // passes over that many texts

private:
    quint64 varint();
    const char* m_at;
};

class TRowBlocks {
public:
    // Writes one row: add its values in order, then finish.
    class Writer {
    public:
        Writer& text(QByteArrayView utf8);
        Writer& text(const QString& text);
        Writer& integer(qint64 value);
        Writer& real(double value);
        // Adds the row to its blocks; a writer adds one row.
        void finish();

    private:
        friend class TRowBlocks;
        explicit Writer(TRowBlocks& blocks) : m_blocks(blocks) {}
        void varint(quint64 value);
        TRowBlocks& m_blocks;
        std::vector<char>& buffer() { return m_blocks.m_building; }
    };

    Writer append();
    void clear();
    int size() const { return int(m_rows.size()); }
    TRowReader row(int index) const { return TRowReader(m_rows[std::size_t(index)]); }

private:
    void store(const std::vector<char>& block);

    std::vector<std::unique_ptr<char[]>> m_chunks;
    std::size_t m_chunkUsed = 0;
    std::size_t m_chunkSize = 0;
    std::vector<const char*> m_rows;
    std::vector<char> m_building;
};
