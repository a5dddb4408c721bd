#pragma once

// Small helpers that build answer files for tests.

#include "core/answer_record.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <initializer_list>

namespace quimo::testing {

// A record whose 54 answers all have the same value.
inline AnswerRecord uniformRecord(std::int32_t value)
{
    AnswerRecord record;
    for (int q = 1; q <= AnswerRecord::kQuestionCount; ++q) {
        record.setAnswer(q, value);
    }
    return record;
}

// Sets the six answers of a block, positions 1 to 6 in order.
inline void setBlock(AnswerRecord &record, int block, std::initializer_list<std::int32_t> values)
{
    int position = 1;
    for (const std::int32_t value : values) {
        record.setAnswer(block + 9 * (position - 1), value);
        ++position;
    }
}

inline QByteArray recordBytes(const AnswerRecord &record)
{
    return QByteArray(reinterpret_cast<const char *>(record.bytes.data()),
                      int(record.bytes.size()));
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace quimo::testing
