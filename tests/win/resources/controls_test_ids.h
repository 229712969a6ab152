// Resource ids of the control tests (resources/controls_test.rc): 7100-7199.
#pragma once

#define IDD_CONTROLS_TEST_CHILD_PAGE 7111
#define IDD_CONTROLS_TEST_POPUP_PAGE 7112
#define IDC_CONTROLS_TEST_LABEL 7113
#define IDC_CONTROLS_TEST_EDIT 7114

#define IDR_CONTROLS_TEST_MENU 7130
