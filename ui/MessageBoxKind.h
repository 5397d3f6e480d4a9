#pragma once

// What a message box is about; it decides the box's icon and sound.
enum class MessageBoxKind { None = 0, Error = 1, Warning = 2, Information = 3 };
