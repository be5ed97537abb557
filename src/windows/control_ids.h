#pragma once
// Fixed control IDs of every window, so that tests and users' automation tools can address
// each control. Never reuse or renumber an ID.

namespace zorvane::ids {

// Form1, the main window.
inline constexpr int Label1 = 101;
inline constexpr int awaym = 102;
inline constexpr int vp = 103;
inline constexpr int Label3 = 104;
inline constexpr int Label10 = 105;
inline constexpr int countdown = 106;
inline constexpr int Label11 = 107;
inline constexpr int Picture1 = 108;
inline constexpr int Label2 = 109;  // "About"
inline constexpr int Picture5 = 110;
inline constexpr int Label8 = 111;  // "Set Away" / "Set Back"
inline constexpr int Picture6 = 112;
inline constexpr int Label9 = 113;  // "Extra"
inline constexpr int countup = 114;
inline constexpr int Text1 = 115;
inline constexpr int Timer1 = 116;
inline constexpr int Timer2 = 117;

// Form2, the Extra window.
inline constexpr int List1 = 201;  // "Waiting to send:"
inline constexpr int add = 202;
inline constexpr int hide = 203;  // "Set"
inline constexpr int Form2Label1 = 204;
inline constexpr int List2 = 205;      // "Send Complete:"
inline constexpr int addtowait = 206;  // "<"
inline constexpr int Form2Label2 = 207;

// Form3, the About window.
inline constexpr int Image1 = 301;
inline constexpr int Form3Label2 = 302;  // "Zorvane"
inline constexpr int Form3Label1 = 303;  // the web site link
inline constexpr int Label7 = 304;       // the notice line

}  // namespace zorvane::ids
