#pragma once

// The two roles a user logs in with, and the administrator's password: the desktop tool and
// the command line apply the same ones.
namespace Roles {

inline constexpr char kClient[] = "Client";
inline constexpr char kAdministrator[] = "Administateur";
inline constexpr char kAdministratorPassword[] = "2846";
inline constexpr char kPasswordRefused[] = "Mot de passe incorrect.";

inline const char* NameOf(bool isClient) {
    return isClient ? kClient : kAdministrator;
}

}  // namespace Roles
