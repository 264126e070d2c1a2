// The group key of the main panel and the two group-choice panels.
#pragma once

// Connects the group keys of the main panel and the buttons of both panels.
void ConnectGroupPanels();

// The group key: alarm guard, then the group-choice panel of the family.
void BT_GROUP_CHOOSE_CALLBACK();
// Marks row n on the panel (7 rows FC, 10 FP).
void ChooseFCGroup(int group);
void ChooseFPGroup(int group);
// One row per group with its settings.
void DataFCFromNormalVarToGroupPanel();
void DataFPFromNormalVarToGroupPanel();
// OK: the marked group becomes the one in use (sent when connected).
void BT_FC_GROUP_OK_CALL();
void BT_FP_GROUP_OK_CALL();

// The group marked on each panel.
extern int gChooseFCGroup;
extern int gChooseFPGroup;
