# Files of src/dialogs, added to quillmark_core or quillmark_ui.
