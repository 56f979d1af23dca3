// Placeholder so that the platform library is never empty.
