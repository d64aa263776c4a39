#include "JournalColumns.h"

#include <charconv>

#include "JournalFormat.h"
#include "JournalParse.h"
#include "Parameters.h"
#include "ProtocolTexts.h"
#include "Verdict.h"

namespace JournalColumns {

namespace {

using JournalFormat::EscapeDeviceBytes;
using JournalFormat::EscapeText;

std::string CountText(int32_t count) {
    return count < 0 ? std::string() : std::to_string(count);
}

// The instant alone: what a reading sorting lines out orders them by.
bool CheckTimestamp(std::string_view field, JournalEntry& entry) {
    const auto epochMs = JournalParse::EpochMs(field);
    if (!epochMs) {
        return false;
    }
    entry.epochMs = *epochMs;
    return true;
}

bool ReadTimestamp(std::string_view field, JournalEntry& entry) {
    if (!CheckTimestamp(field, entry)) {
        return false;
    }
    entry.timestamp.assign(field);
    return true;
}

bool ReadKind(std::string_view field, JournalEntry& entry) {
    const auto kind = JournalParse::KindNamed(field);
    if (!kind) {
        return false;
    }
    entry.kind = *kind;
    return true;
}

bool ReadRepeaterCount(std::string_view field, JournalEntry& entry) {
    entry.repeaterCount = -1;
    if (field.empty()) {
        return true;
    }
    // No more than the tool itself takes: a count beyond it is no record of the tool's.
    int32_t count = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), count);
    if (result.ec != std::errc() || result.ptr != field.data() + field.size() ||
        !kRepeaterCountRange.Contains(count)) {
        return false;
    }
    entry.repeaterCount = count;
    return true;
}

// No report is an empty field; any other field unescapes to some bytes.
bool ReadReport(std::string_view field, JournalEntry& entry) {
    if (field.empty()) {
        entry.report.reset();
        return true;
    }
    JournalParse::UnescapeDeviceBytesInto(field,
                                          entry.report ? *entry.report : entry.report.emplace());
    return true;
}

// The writer's own marker, at the end of the message, is what tells a wait the user ended.
bool ReadMessage(std::string_view field, JournalEntry& entry) {
    JournalParse::UnescapeTextInto(field, entry.message);
    entry.cancelled = entry.message.ends_with(kTextWaitCancelled);
    return true;
}

// A column of UTF-8 text kept in `member`.
Column TextColumn(const char* header, std::string (*write)(const RecordInput&),
                  std::string JournalEntry::*member) {
    return {header, write, [member](std::string_view field, JournalEntry& entry) {
                JournalParse::UnescapeTextInto(field, entry.*member);
                return true;
            }};
}

// A column of device bytes kept in `member`.
Column BytesColumn(const char* header, std::string (*write)(const RecordInput&),
                   std::string JournalEntry::*member) {
    return {header, write, [member](std::string_view field, JournalEntry& entry) {
                JournalParse::UnescapeDeviceBytesInto(field, entry.*member);
                return true;
            }};
}

std::vector<Column> MakeColumns() {
    std::vector<Column> columns = {
        {kTimestamp, [](const RecordInput& in) { return JournalFormat::Timestamp(in.when); },
         ReadTimestamp, CheckTimestamp},
        TextColumn(
            "rôle", [](const RecordInput& in) { return EscapeText(in.context.role); },
            &JournalEntry::role),
        TextColumn(
            "éditeur", [](const RecordInput& in) { return EscapeText(in.context.editor); },
            &JournalEntry::editor),
        TextColumn(
            "port", [](const RecordInput& in) { return EscapeText(in.context.portName); },
            &JournalEntry::portName),
        TextColumn(
            "périphérique", [](const RecordInput& in) { return EscapeText(in.record.devicePath); },
            &JournalEntry::devicePath),
        {"échange",
         [](const RecordInput& in) { return std::string(JournalFormat::KindName(in.record.kind)); },
         ReadKind, ReadKind},
        BytesColumn(
            "octets envoyés",
            [](const RecordInput& in) { return EscapeDeviceBytes(in.record.bytesSent); },
            &JournalEntry::bytesSent),
        {"rapport reçu",
         [](const RecordInput& in) { return EscapeDeviceBytes(in.record.report.value_or("")); },
         ReadReport},
    };
    for (const ParameterInfo& info : kParameters) {
        columns.push_back({info.name,
                           [param = info.param](const RecordInput& in) {
                               return EscapeDeviceBytes(in.values[param]);
                           },
                           nullptr});
    }
    const std::vector<Column> closing = {
        TextColumn(
            "verdict",
            [](const RecordInput& in) { return EscapeText(VerdictText(JudgeReadBack(in.record))); },
            &JournalEntry::verdict),
        {"message",
         [](const RecordInput& in) {
             return EscapeText(in.record.cancelled ? in.record.message + kTextWaitCancelled
                                                   : in.record.message);
         },
         ReadMessage},
        TextColumn(
            "cause", [](const RecordInput& in) { return EscapeText(in.record.cause); },
            &JournalEntry::cause),
        TextColumn(
            "erreur système",
            [](const RecordInput& in) { return EscapeText(in.record.systemError); },
            &JournalEntry::systemError),
        BytesColumn(
            "commande", [](const RecordInput& in) { return EscapeDeviceBytes(in.record.command); },
            &JournalEntry::command),
        TextColumn(
            kNetwork, [](const RecordInput& in) { return EscapeText(in.context.network); },
            &JournalEntry::network),
        {"répéteurs", [](const RecordInput& in) { return CountText(in.context.repeaterCount); },
         ReadRepeaterCount, ReadRepeaterCount},
    };
    columns.insert(columns.end(), closing.begin(), closing.end());
    return columns;
}

}  // namespace

const std::vector<Column>& All() {
    static const std::vector<Column> columns = MakeColumns();
    return columns;
}

const std::vector<size_t>& Refusing() {
    static const std::vector<size_t> refusing = [] {
        std::vector<size_t> at;
        for (size_t c = 0; c < All().size(); ++c) {
            if (All()[c].check != nullptr) {
                at.push_back(c);
            }
        }
        return at;
    }();
    return refusing;
}

size_t IndexOf(std::string_view header) {
    const std::vector<Column>& columns = All();
    size_t at = 0;
    while (at < columns.size() && columns[at].header != header) {
        ++at;
    }
    return at;
}

}  // namespace JournalColumns
