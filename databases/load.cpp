#include "databases/load.h"

#include "core/files.h"
#include "core/profile.h"

const char* const kSizeSection = "文件大小数据";
const char* const kMd5Section = "文件 MD5数据";
const char* const kAttachedSection = "附属文件数据";
const char* const kRegistrySection = "注册表  数据";
const char* const kResultSection = "保存结果位置";
const char* const kDataKey = "数据";

const char* const kLoadFailedMessage = "数据库加载失败！请选择配置窗口后重新启动！";
const char* const kLoadSucceededMessage = "数据库加载成功！";

Text ConfigPath(const Text& runDirectory) { return ConcatTexts(runDirectory, "\\config.ini"); }

static Text DatabasePath(const Text& configPath, const Text& section)
{
    return ReadIniValue(configPath, section, kDataKey);
}

static Text WholeText(const Text& path) { return BytesToText(ReadWholeFile(path)); }

void LoadLineList(const Text& configPath, const Text& section, ListStore& store)
{
    // Read-only: a database marked read-only must load like any other.
    FileHandle file = FileOpen(DatabasePath(configPath, section), 1, 1);
    while (!FileAtEnd(file, true)) store.Add(FileReadLine(file));
    FileClose(file);
}

void LoadDatabases(ProgramState& state, Stores& stores, const Text& runDirectory,
                   const MessageSink& show)
{
    const Text config = ConfigPath(runDirectory);
    if (!FileExists(config)) {
        show(kLoadFailedMessage);
        return;
    }
    state.resultFolder = ConcatTexts(DatabasePath(config, kResultSection), "\\");
    state.resultLocation = state.resultFolder;
    stores.md5DatabaseText.SetText(WholeText(DatabasePath(config, kMd5Section)));
    stores.sizeDatabaseText.SetText(WholeText(DatabasePath(config, kSizeSection)));
    LoadLineList(config, kAttachedSection, stores.attachedNames);
    LoadLineList(config, kRegistrySection, stores.registryLines);
    LoadLineList(config, kMd5Section, stores.md5Lines);
    show(kLoadSucceededMessage);
}
