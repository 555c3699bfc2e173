// The run log: a trace file beside the outputs that lets a support person
// follow how a batch became claims. Lines use the delimited form of the
// formatted-record file. Level 0 writes nothing, 1 the banners and one line
// per record, 2 every trace line.
//
// Writing to the log never fails the operation that writes: a failed write
// is dropped. Nothing is written to a log that is not open.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace ub04 {

// The log's file name: output path + "/" + module name + ".Log"; without an
// output path, the current directory.
std::string LogFileName();

int16_t OpenLog();
int16_t CloseLog();
int16_t DeleteLog();

// One line holding text, when the level is 2 or more and the log is open.
void LogLine(std::string_view text);
// The same line for the parts joined, without building the joined text:
// LogJoined({"index = ", SignNum(i)}) writes what LogLine("index = " +
// SignNum(i)) writes.
void LogJoined(std::initializer_list<std::string_view> parts);
// One line holding text whenever the log is open, whatever the level: for
// the few decisions support must always be able to see.
void LogLineAnyLevel(std::string_view text);
// True when trace lines are written (level 2 and the log open).
bool LogTracing();
// One line of several text items, each quoted, written at level 1 and up
// (the per-record line: counter, key, record).
void LogItems(std::initializer_list<std::string_view> items);

// An 80-column grid line: label in columns 1-20, value from column 25.
void LogGridValue(std::string_view label, std::string_view value);

// Pushes buffered log and formatted-record lines to disk; called at the end
// of each public call so a host crash loses at most the current call.
void FlushOutputs();

}  // namespace ub04
