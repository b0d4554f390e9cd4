// Control identifiers of ToolWindow. The end-to-end tests include this header
// to find its controls the way the program does.
#pragma once

enum ToolWindowControl {
    IDC_TOOL_LABEL1 = 4101,   // 标签1 "所在文件夹："
    IDC_TOOL_EDIT1 = 4102,    // 编辑框1 the chosen folder
    IDC_TOOL_BUTTON1 = 4103,  // 按钮1 "选择": ListFolderFiles
    IDC_TOOL_LABEL5 = 4104,   // 标签5 "主程序名："
    IDC_TOOL_COMBO1 = 4105,   // 组合框1 the folder's file names
    IDC_TOOL_LABEL2 = 4106,   // 标签2 "程序大小："
    IDC_TOOL_EDIT2 = 4107,    // 编辑框2 size text of the main file
    IDC_TOOL_LABEL3 = 4108,   // 标签3 "程序 MD5："
    IDC_TOOL_EDIT3 = 4109,    // 编辑框3 MD5 text of the main file
    IDC_TOOL_LABEL4 = 4110,   // 标签4 "程序备注："
    IDC_TOOL_EDIT4 = 4111,    // 编辑框4 the note
    IDC_TOOL_LABEL6 = 4112,   // 标签6 "注册表键值："
    IDC_TOOL_EDIT5 = 4113,    // 编辑框5 registry value paths, one per line
    IDC_TOOL_BUTTON2 = 4114,  // 按钮2 "写入": WriteEntries
    IDC_TOOL_BUTTON3 = 4115,  // 按钮3 "退出"
};

#define TOOL_WINDOW_CLASS "SorvalenToolWindow"
