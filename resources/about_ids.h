// Identifiers of the About dialog's template (200-299), shared by about.rc and the code.
#pragma once

#define IDD_ABOUT 200
#define IDC_ABOUT_BEVEL1 201
#define IDC_ABOUT_ICONIMAGE 202
#define IDC_ABOUT_NAMELABEL 203
#define IDC_ABOUT_VERSIONLABEL 204
#define IDC_ABOUT_PLATFORMLABEL 205
#define IDC_ABOUT_NOTICELABEL 206
#define IDC_ABOUT_MAILCAPTION 207
#define IDC_ABOUT_MAILLABEL 208
#define IDC_ABOUT_URLCAPTION 209
#define IDC_ABOUT_URLLABEL 210
