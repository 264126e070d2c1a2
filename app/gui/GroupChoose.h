// The group key of the main panel and the two group-choice panels.
#pragma once

// Connects the group keys of the main panel and the buttons of both panels.
void ConnectGroupPanels();
// The group key: alarm guard, then the group-choice panel of the family.
void BT_GROUP_CHOOSE_CALLBACK();
// OK: the marked group becomes the one in use (sent when connected).
void BT_FC_GROUP_OK_CALL();
void BT_FP_GROUP_OK_CALL();
