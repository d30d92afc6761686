// SPDX-License-Identifier: MIT
#pragma once

namespace mendrick {

enum class SignatureVerdict {
    Good,         // a good signature by a key of the keyring
    Bad,          // no valid signature by a key of the keyring, or no detached signature
    CannotCheck,  // the checking program could not be run
};

// Verifies the detached OpenPGP signature open at `signature` over the data open at `data`
// (read from its start) against the public keys open at `keyring` (OpenPGP packets, as
// "gpg --export" writes them), with Debian's gpgv. Nothing of the user's GnuPG set-up
// takes part: no home folder, no agent, no keyring but the one given.
SignatureVerdict verifySignature(int keyring, int signature, int data);

}  // namespace mendrick
