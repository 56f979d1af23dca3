// Placeholder so that the game library is never empty.
