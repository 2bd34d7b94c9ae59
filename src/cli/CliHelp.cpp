#include "cli/CliHelp.h"

std::string_view CliHelpText() {
    return R"(Usage: iconwright-cli [STEP]...

Makes a unit's build-menu icon file (GAF) from 96 x 96, 256-colour pictures. The steps run
left to right on one picture set that starts, like a fresh Iconwright window, as three white
pictures and an empty unit name. Every step is checked before the first one runs.

SLOT is normal, highlighted, disabled, or 0, 1, 2.

Steps:
  --unit NAME            set the unit name (written upper-cased into the GAF file)
  --load-bmp SLOT FILE   load a 96 x 96, 256-colour BMP file into SLOT
  --load-pcx SLOT FILE   load a 96 x 96, 256-colour PCX file into SLOT
  --save-bmp SLOT FILE   save SLOT as an 8-bit BMP file in the game palette
  --preview SLOT FILE    save SLOT reduced to 64 x 64, as the GAF file holds it, as a BMP file
  --write-gaf FILE       write the three pictures as the build-menu GAF file (needs --unit)
  --border SLOT          add a Cavedog style border
  --cross SLOT SIZE      add a black cross; SIZE in pixels (a fraction rounds, halves to even)
  --lighter SLOT         make SLOT lighter (for the highlighted picture)
  --grey SLOT            make SLOT grey (for the disabled picture)
  --grid SLOT            lay a grid over SLOT (for the disabled picture)
  --fill SLOT COLOR      fill SLOT with game palette index COLOR (outside 0 to 255: no change)
  --auto FILE            load FILE into highlighted and disabled (as PCX when its name ends in
                         .pcx, else as BMP), then make highlighted lighter and disabled grey
  --help                 show this text and run nothing

Exit status:
  0  every step was done
  1  a step failed: it is named on standard error, later steps do not run, files written by
     earlier steps stay
  2  usage error (unknown step, missing argument, bad SLOT or COLOR): nothing runs

Example:
  iconwright-cli --unit armcamp --load-bmp normal armcamp.bmp --write-gaf armcamp_GADGET.GAF
)";
}
