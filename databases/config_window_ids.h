// Control identifiers of ConfigWindow. The end-to-end tests include this header
// to find its controls the way the program does.
#pragma once

enum ConfigWindowControl {
    IDC_CONFIG_LABEL1 = 4001,   // 标签1 "文件大小数据："
    IDC_CONFIG_EDIT1 = 4002,    // 编辑框1 size database
    IDC_CONFIG_BUTTON1 = 4003,  // 按钮1 "选择"
    IDC_CONFIG_LABEL2 = 4004,   // 标签2 "文件 MD5数据："
    IDC_CONFIG_EDIT2 = 4005,    // 编辑框2 MD5 database
    IDC_CONFIG_BUTTON2 = 4006,  // 按钮2 "选择"
    IDC_CONFIG_LABEL3 = 4007,   // 标签3 "附属文件数据："
    IDC_CONFIG_EDIT3 = 4008,    // 编辑框3 attached-file database
    IDC_CONFIG_BUTTON3 = 4009,  // 按钮3 "选择"
    IDC_CONFIG_LABEL4 = 4010,   // 标签4 "注册表  数据："
    IDC_CONFIG_EDIT4 = 4011,    // 编辑框4 registry database
    IDC_CONFIG_BUTTON4 = 4012,  // 按钮4 "选择"
    IDC_CONFIG_LABEL5 = 4013,   // 标签5 "保存结果位置："
    IDC_CONFIG_EDIT5 = 4014,    // 编辑框5 result location
    IDC_CONFIG_BUTTON5 = 4015,  // 按钮5 "选择": folder picker
    IDC_CONFIG_BUTTON6 = 4016,  // 按钮6 "保存"
    IDC_CONFIG_LABEL6 = 4017,   // 标签6 "所填写的内容下次生效"
};

#define CONFIG_WINDOW_CLASS "SorvalenConfigWindow"
