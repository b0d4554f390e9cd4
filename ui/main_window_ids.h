// Control and menu identifiers of MainWindow. The end-to-end tests include this
// header to find controls and send menu commands the way the program does.
#pragma once

enum MainWindowControl {
    IDC_GROUP1 = 1001,     // 分组框1 "扫描类型"
    IDC_RADIO1 = 1002,     // 单选框1 whole-disk scan
    IDC_RADIO2 = 1003,     // 单选框2 folder scan
    IDC_CHECK1 = 1004,     // 选择框1 size + MD5
    IDC_CHECK2 = 1005,     // 选择框2 attached files
    IDC_CHECK4 = 1006,     // 选择框4 registry
    IDC_BUTTON1 = 1010,    // 按钮1 start / continue
    IDC_BUTTON3 = 1011,    // 按钮3 pause
    IDC_BUTTON2 = 1012,    // 按钮2 stop
    IDC_LABEL2 = 1020,     // 标签2
    IDC_EDIT2 = 1021,      // 编辑框2 processed counter
    IDC_EDIT1 = 1022,      // 编辑框1 total counter
    IDC_LABEL8 = 1023,     // 标签8
    IDC_LABEL7 = 1024,     // 标签7 elapsed seconds
    IDC_LABEL6 = 1025,     // 标签6
    IDC_SCANTYPE = 1026,   // 扫描类型 running phase
    IDC_LABEL4 = 1027,     // 标签4
    IDC_LABEL5 = 1028,     // 标签5 current file or status
    IDC_LABEL3 = 1029,     // 标签3
    IDC_PROGRESS1 = 1030,  // 进度条1
};

enum MainWindowCommand {
    IDM_FILE_SIZE = 2001,       // "[取文件尺寸]"
    IDM_FILE_MD5 = 2002,        // "[取文件 MD5]"
    IDM_TASK_MANAGER = 2003,    // "[任务管理器]"
    IDM_CLEAR_REGISTRY = 2004,  // "[清除注册表] (清除程序所占用的注册表项)"
    IDM_CONFIG_WINDOW = 2005,   // "配置窗口"
    IDM_ABOUT = 2006,           // "关于软件"
};

enum MainWindowTimer {
    TIMER_CLOCK1 = 1,   // 时钟1
    TIMER_REFLECT = 2,  // spaces out the reflections of the scan model
};

#define MAIN_WINDOW_CLASS "SorvalenMainWindow"
