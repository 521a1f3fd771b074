// The program's version and title: one place for the version resource and the code.
#pragma once

#define FK_VERSION_MAJOR 1
#define FK_VERSION_MINOR 0
#define FK_VERSION_REVISION 1
#define FK_VERSION_TEXT "1.0.1"
#define FK_APP_TITLE "FollowKelvaro"
#define FK_PROJECT_NAME "Follow_Kelvaro"
