#pragma once

// Where the desktop's notification service answers on the session bus.
namespace notificationService {
inline constexpr char service[] = "org.freedesktop.Notifications";
inline constexpr char path[] = "/org/freedesktop/Notifications";
inline constexpr char interface[] = "org.freedesktop.Notifications";
inline constexpr int callTimeoutMsec = 5000;
} // namespace notificationService
