#pragma once

// The window's fixed texts, shared by the window and whatever reports in its name.
inline constexpr char kApplicationTitle[] = "Загрузочный модуль KQ";
