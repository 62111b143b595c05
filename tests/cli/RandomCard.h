// Random cards made through the card's own operations, for the tests that take a card
// through rqfs and compare the bytes that come back: folders three deep, empty and full
// (255-entry) folders, passwords of every length, zero, partly zero and random contents.
#pragma once

#include "CardSession.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

class RandomCard {
public:
    explicit RandomCard(unsigned seed) : m_random(seed) {}

    // Writes a new random card to image.
    void Make(const std::filesystem::path& image);
    // Changes the card in image the way an update does, steps times: an entry deleted,
    // created, deleted and created again (another size or type, or only a new place in the
    // list), a file's bytes overwritten in part, a folder's passwords set.
    void Change(const std::filesystem::path& image, int steps);

private:
    uint32_t Below(uint32_t bound);
    // None (all zero), or random up to a point and zero after it.
    std::vector<uint8_t> Bytes(uint32_t size);
    // Each call takes the next length of both fields, so every length comes round.
    RQ540::Cli::CCardSession::Passwords NextPasswords();
    std::string Text(std::size_t length);

    std::mt19937 m_random;
    unsigned m_passwordTurn = 0;
};
