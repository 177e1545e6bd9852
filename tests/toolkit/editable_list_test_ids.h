#pragma once
#define IDD_LIST_TEST 200
#define IDC_TEST_LIST 201
#define IDC_TEST_OTHER 202
