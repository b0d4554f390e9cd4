// config.ini and the four signature databases, read once at start.
#pragma once

#include <functional>

#include "core/program_state.h"
#include "core/stores.h"

// Section names of config.ini, in the order the file holds them; key kDataKey.
extern const char* const kSizeSection;      // "文件大小数据"
extern const char* const kMd5Section;       // "文件 MD5数据"
extern const char* const kAttachedSection;  // "附属文件数据"
extern const char* const kRegistrySection;  // "注册表  数据"
extern const char* const kResultSection;    // "保存结果位置"
extern const char* const kDataKey;          // "数据"

extern const char* const kLoadFailedMessage;     // "数据库加载失败！请选择配置窗口后重新启动！"
extern const char* const kLoadSucceededMessage;  // "数据库加载成功！"

Text ConfigPath(const Text& runDirectory);  // runDirectory + "\config.ini"

using MessageSink = std::function<void(const Text&)>;

// Fills the database stores and resultFolder/resultLocation from the config.ini in
// runDirectory, then shows exactly one message through `show`.
void LoadDatabases(ProgramState& state, Stores& stores, const Text& runDirectory,
                   const MessageSink& show);

// Appends the lines of the file named in `section` to `store`.
void LoadLineList(const Text& configPath, const Text& section, ListStore& store);
