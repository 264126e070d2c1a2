// What a control shows, as plain values: the panel records of the main
// panel and of the program panels are made of these, and the window writes
// them onto its widgets.
#pragma once

// A numeric control (knob, entry or display). Limits apply only when
// Max > Min; a control whose limits the core does not govern keeps 0, 0.
struct NumView {
  double Value = 0;
  double Min = 0;
  double Max = 0;
  bool Visible = true;
  bool Dimmed = false;
};

// A ring, switch, check box or radio button: an integer value.
struct RingView {
  int Value = 0;
  bool Visible = true;
  bool Dimmed = false;
};

// An indicator lamp.
struct LampView {
  bool On = false;
  bool Visible = true;
  bool Dimmed = false;
};

// A key (push button).
struct KeyView {
  bool Visible = true;
  bool Dimmed = false;
};

// The angle page of the main and the program panels.
struct AnglePageView {
  bool Visible = false; // mode 16 only
  NumView AngleUV;      // degrees
  NumView AngleUW;
  NumView AngleVW; // derived, display only
  KeyView Standard;
};
