// Control and command ids of the wizard pages, as the page templates number them, and the
// caption the wizard's windows carry.
#pragma once

constexpr wchar_t SetupCaption[] = L"Velkaris App Pack (Single User)";

// Pages 0 to 3 are made from dialog templates 104 to 107.
constexpr int FirstPageTemplate = 104;

// Commands: button 1 of every page, the Cancel buttons (and Esc), Back, Browse, Show Details.
constexpr int NextCommand = 1;
constexpr int CancelCommand = 2;
constexpr int BackCommand = 3;
constexpr int BrowseCommand = 4;
constexpr int ShowDetailsCommand = 5;

constexpr int LicenceHeading = 1000;
constexpr int ComponentsHeading = 1001;
constexpr int DestinationHeading = 1002;
constexpr int LicenceField = 1004;
constexpr int DestinationField = 1005;
constexpr int FirstComponentBox = 1006;
constexpr int DestinationGroup = 1015;
constexpr int SpaceAvailableLine = 1016;
constexpr int SpaceRequiredLine = 1017;
