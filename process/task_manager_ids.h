// Control identifiers of TaskManagerWindow. The end-to-end tests include this
// header to find its controls the way the program does.
#pragma once

enum TaskManagerControl {
    IDC_TM_LIST1 = 3001,     // 列表框1 process names
    IDC_TM_PICTURE1 = 3002,  // 图片框1 icon of the double-clicked process
    IDC_TM_BUTTON1 = 3003,   // 按钮1 "刷新"
    IDC_TM_BUTTON2 = 3004,   // 按钮2 "结束进程"
    IDC_TM_LABEL1 = 3005,    // 标签1 path of the double-clicked process
};

#define TASK_MANAGER_WINDOW_CLASS "SorvalenTaskManagerWindow"
