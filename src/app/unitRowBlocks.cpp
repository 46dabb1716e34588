#include "app/unitRowBlocks.h"

#include <algorithm>
#include <cstring>

namespace {
// Chunks grow from a small first one (a short list stays small) to this size.
constexpr std::size_t kFirstChunk = 4 * 1024;
constexpr std::size_t kLargestChunk = 1024 * 1024;

// Whole numbers are written zigzagged, so small negative numbers stay short too.
quint64 zigzag(qint64 value) { return (quint64(value) << 1) ^ quint64(value >> 63); }
qint64 unzigzag(quint64 value) { return qint64(value >> 1) ^ -qint64(value & 1); }
} // namespace

// ----------------------------------------------------------------- reading

quint64 TRowReader::varint()
{
    quint64 value = 0;
    int shift = 0;
    for (;;) {
        const auto byte = quint8(*m_at++);
        value |= quint64(byte & 0x7f) << shift;
        if (!(byte & 0x80)) return value;
        shift += 7;
    }
}

QByteArrayView TRowReader::utf8()
{
    const auto length = qsizetype(varint());
    const QByteArrayView bytes(m_at, length);
    m_at += length;
    return bytes;
}

QString TRowReader::text() { return QString::fromUtf8(utf8()); }

qint64 TRowReader::integer() { return unzigzag(varint()); }

double TRowReader::real()
{
    double value;
    std::memcpy(&value, m_at, sizeof value);
    m_at += sizeof value;
    return value;
}

void TRowReader::skipTexts(int count)
{
    for (int i = 0; i < count; ++i) utf8();
}

// ----------------------------------------------------------------- writing

void TRowBlocks::Writer::varint(quint64 value)
{
    while (value >= 0x80) {
        buffer().push_back(char(quint8(value) | 0x80));
        value >>= 7;
    }
    buffer().push_back(char(value));
}

TRowBlocks::Writer& TRowBlocks::Writer::text(QByteArrayView utf8)
{
    varint(quint64(utf8.size()));
    buffer().insert(buffer().end(), utf8.begin(), utf8.end());
    return *this;
}

TRowBlocks::Writer& TRowBlocks::Writer::text(const QString& value) { return text(QByteArrayView(value.toUtf8())); }

TRowBlocks::Writer& TRowBlocks::Writer::integer(qint64 value)
{
    varint(zigzag(value));
    return *this;
}

TRowBlocks::Writer& TRowBlocks::Writer::real(double value)
{
    char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    buffer().insert(buffer().end(), bytes, bytes + sizeof value);
    return *this;
}

void TRowBlocks::Writer::finish()
{
    m_blocks.store(buffer());
    buffer().clear();
}

// ------------------------------------------------------------------ blocks

TRowBlocks::Writer TRowBlocks::append()
{
    m_building.clear();
    return Writer(*this);
}

void TRowBlocks::store(const std::vector<char>& block)
{
    if (m_chunks.empty() || m_chunkUsed + block.size() > m_chunkSize) {
        m_chunkSize = m_chunks.empty() ? kFirstChunk : std::min(m_chunkSize * 2, kLargestChunk);
        m_chunkSize = std::max(m_chunkSize, block.size());
        m_chunks.push_back(std::make_unique<char[]>(m_chunkSize));
        m_chunkUsed = 0;
    }
    char* start = m_chunks.back().get() + m_chunkUsed;
    std::memcpy(start, block.data(), block.size());
    m_chunkUsed += block.size();
    m_rows.push_back(start);
}

void TRowBlocks::clear()
{
    m_chunks.clear();
    m_chunkUsed = m_chunkSize = 0;
    std::vector<const char*>().swap(m_rows);
}
