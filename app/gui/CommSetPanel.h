// The communication settings panel and the connect button of the main pages.
#pragma once

#include <QString>

// 1: create the panel, set its texts, fill it and show it as a popup (its
// settings dimmed while connected); 0: discard it.
void DisplayPanelCommSet(int show);
void DataFromCommSetVarToPanel();
void DataFromPanelToCommSetVar();
void BT_COMMSET_OK_CALLBACK();
void BT_COMMSET_CANCEL_CALLBACK();
void COMM_PANEL_CALLBACK();
// The connect and disconnect buttons of the six main pages.
void BT_COMM_CONNECT_CALLBACK();
// The connection areas of the six main pages show the state.
void ShowConnectionOnPanels(int connected);
// The connection areas show what the link does between connections, and
// how to stop it; empty text: nothing.
void ShowLinkStatusOnPanels(const QString &text);
