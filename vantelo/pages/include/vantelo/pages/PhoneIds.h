#pragma once
// The numbers of the phone window: page templates, controls, pictures,
// menu commands and the messages the window itself posts. The controls and
// pictures that the phone logic drives take their numbers from the core.

#include "platform/MessageWindow.h"
#include "vantelo/core/PhoneIds.h"

namespace vantelo::pages {

// Page templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDD_CALLLOG = 130;
inline constexpr int IDD_ADDRESSBOOK = 131;
inline constexpr int IDD_INNERLINE = 132;
inline constexpr int IDD_CONTACTEDIT = 134;
inline constexpr int IDD_SETTINGS = 139;

// Main-window controls.
inline constexpr int IDC_PAGE_AREA = 1000;
inline constexpr int IDC_PAGE_ADDRESSBOOK = 1003;
inline constexpr int IDC_PAGE_CALLLOG = 1004;
inline constexpr int IDC_PAGE_SETTINGS = 1005;
inline constexpr int IDC_PAGE_INNERLINE = 1006;
inline constexpr int IDC_KEY_1 = 1045;  // 1045..1053: keys 1 to 9
inline constexpr int IDC_KEY_0 = 1054;
inline constexpr int IDC_KEY_STAR = 1055;
inline constexpr int IDC_KEY_HASH = 1056;
inline constexpr int IDC_MEMO = kMemoBox;
inline constexpr int IDC_HOOK = kHookButton;
inline constexpr int IDC_REDIAL = kRedialButton;
inline constexpr int IDC_FLASH = kFlashButton;
inline constexpr int IDC_PLAY = kPlayButton;
inline constexpr int IDC_RECORD = kRecordButton;
inline constexpr int IDC_RECEIVE = kReceiveButton;
inline constexpr int IDC_SAVE_MEMO = kSaveMemoButton;
inline constexpr int IDC_NUMBER = kNumberDisplay;
inline constexpr int IDC_STATUS = kStatusLine;
inline constexpr int IDC_MUTE = kMuteButton;
inline constexpr int IDC_MINIMISE = 1169;
inline constexpr int IDC_ARS = kArsButton;
inline constexpr int IDC_PIC_HOOK = kHookPicture;
inline constexpr int IDC_PIC_ANSWERING = kMachinePicture;
inline constexpr int IDC_PIC_RECORDING = kRecordPicture;
inline constexpr int IDC_PIC_PLAYBACK = kPlayPicture;
inline constexpr int IDC_HIDE = 1175;

// Pictures.
inline constexpr int IDI_PROGRAM = 128;
inline constexpr int IDB_RECORDING_ON = kBitmapRecording;
inline constexpr int IDB_ANSWERING_ON = kBitmapEngaged;
inline constexpr int IDB_HOOK_OFF = kBitmapOffHook;
inline constexpr int IDB_PLAYBACK_ON = kBitmapPlaying;
inline constexpr int IDB_RECORDING_OFF = kBitmapRecordStopped;
inline constexpr int IDB_ANSWERING_OFF = kBitmapMachineIdle;
inline constexpr int IDB_HOOK_ON = kBitmapOnHook;
inline constexpr int IDB_PLAYBACK_OFF = kBitmapPlayStopped;
inline constexpr int IDB_SHAPE = 255;
inline constexpr int IDB_MAIN_HOVER = 260;
inline constexpr int IDB_MAIN_PRESSED = 261;
inline constexpr int IDB_MAIN_NORMAL = 262;
// The lit look of the two-look buttons (off hook, playing, recording,
// muted, absence mode on).
inline constexpr int IDB_MAIN_LIT_NORMAL = 263;
inline constexpr int IDB_MAIN_LIT_PRESSED = 264;
inline constexpr int IDB_MAIN_LIT_HOVER = 265;
inline constexpr int IDB_PAGE_SELECTED_PRESSED = 266;
inline constexpr int IDB_PAGE_SELECTED_NORMAL = 267;
inline constexpr int IDB_PAGE_SELECTED_HOVER = 268;
// Page triples: normal (also the background), pressed, hover.
inline constexpr int IDB_ADDRESSBOOK_NORMAL = 270;
inline constexpr int IDB_ADDRESSBOOK_PRESSED = 271;
inline constexpr int IDB_ADDRESSBOOK_HOVER = 272;
inline constexpr int IDB_INNERLINE_NORMAL = 273;
inline constexpr int IDB_INNERLINE_PRESSED = 274;
inline constexpr int IDB_INNERLINE_HOVER = 275;
inline constexpr int IDB_CONTACTEDIT_NORMAL = 276;
inline constexpr int IDB_CONTACTEDIT_PRESSED = 277;
inline constexpr int IDB_CONTACTEDIT_HOVER = 278;
// The settings page's triple (its normal image is its background).
inline constexpr int IDB_SETTINGS_HOVER = 280;
// The call log page: its plain look (play, speaker output), its lit look
// (pause, headset output), its decoding look, and its background.
inline constexpr int IDB_CALLLOG_NORMAL = 281;
inline constexpr int IDB_CALLLOG_PRESSED = 282;
inline constexpr int IDB_CALLLOG_HOVER = 283;
inline constexpr int IDB_CALLLOG_LIT_NORMAL = 284;
inline constexpr int IDB_CALLLOG_LIT_PRESSED = 285;
inline constexpr int IDB_CALLLOG_LIT_HOVER = 286;
inline constexpr int IDB_CALLLOG_BACK = 289;
inline constexpr int IDB_CALLLOG_DECODING_NORMAL = 293;
inline constexpr int IDB_CALLLOG_DECODING_PRESSED = 294;
inline constexpr int IDB_CALLLOG_DECODING_HOVER = 295;
inline constexpr int IDB_SETTINGS_NORMAL = 287;
inline constexpr int IDB_SETTINGS_PRESSED = 288;
// Page backgrounds without buttons: a hidden button leaves no picture.
inline constexpr int IDB_ADDRESSBOOK_BACK = 290;
inline constexpr int IDB_INNERLINE_BACK = 291;
inline constexpr int IDB_CONTACTEDIT_BACK = 292;

// Menus and commands.
inline constexpr int IDR_TRAYMENU = 143;
inline constexpr int ID_TRAY_CLOSE = 32771;
inline constexpr int ID_TRAY_OPEN = 32772;
inline constexpr int IDM_ABOUTBOX = 16;

// Messages (the ring pop-up's click is the core's kPopupClicked).
inline constexpr vt::UINT WM_TRAY_CALLBACK = vt::WM_USER + 21;

}  // namespace vantelo::pages
