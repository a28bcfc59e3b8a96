/* Resource and control ids, shared by quillmere.rc and the code. */
#ifndef QUILLMERE_RESOURCE_IDS_H
#define QUILLMERE_RESOURCE_IDS_H

/* Resources, addressed by number. */
#define IDD_MAIN 100
#define IDM_MAIN 103
#define IDD_ENCTYPES 104
#define IDD_ABOUT 106
#define IDD_CONFIG_VIEW 109
#define IDI_MAIN 114
#define IDI_ABOUT 115

/* Main window (dialog 100). */
#define IDC_AVAILABLE_LIST 101
#define IDC_SELECTED_LIST 102
#define IDC_ADD 103
#define IDC_REMOVE 104
#define IDC_DEFAULT_REALM 105
#define IDC_SERVER_REALM 106
#define IDC_CLIENT_REALM 107
#define IDC_AVAILABLE_LABEL 1005
#define IDC_SELECTED_LABEL 1006
#define IDC_LIBDEFAULTS_GROUP 1007
#define IDC_TGS_LABEL 1008
#define IDC_TKT_LABEL 1009
#define IDC_FORWARDABLE_LABEL 1010
#define IDC_TGS_ENCTYPES 1011
#define IDC_TGS_CHOOSE 1012
#define IDC_TKT_ENCTYPES 1013
#define IDC_TKT_CHOOSE 1014
#define IDC_FORWARDABLE_TRUE 1017
#define IDC_FORWARDABLE_FALSE 1018
#define IDC_FORWARDABLE_NOT_SET 1019
#define IDC_STATUS_LOG 1022
#define IDC_CLIENTS_LABEL 1029
#define IDC_MIT_CLIENTS 1030
#define IDC_HEIMDAL_CLIENTS 1031
#define IDC_JAVA_CLIENTS 1032

/* Menu commands (menu 103). */
#define IDM_FILE_SAVE 57603
#define IDM_FILE_VIEW 40012
#define IDM_FILE_EXIT 40005
#define IDM_HELP_ABOUT 40003

/* Encryption types (dialog 104). */
#define IDC_ENCTYPE_LIST 1016

/* About box (dialog 106). */
#define IDC_ABOUT_LINK 1024
#define IDC_ABOUT_TITLE 1025

/* Configuration view (dialog 109). */
#define IDC_CONFIG_TEXT 1023

#endif
